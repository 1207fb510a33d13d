// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/panel.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/game.h"
#include "platform/text.h"
#include "presentation/screen.h"

namespace {

// Fixed pieces of the panel, converted to CP932 once.
struct PanelTexts {
  std::string day = J("日");
  std::string hours_left = J("残り時間 ");
  std::string hours = J(" 時間");
  std::string rank = J("店のRANK ");
  std::string shop_exp = J("店のexp. ");
  std::string fame = J("店の名声 ");
  std::string lifespan = J("寿命:");
  std::string belly = J("お腹:");
  std::string percent = J("％");
  std::string money = J("お金:");
  std::string yen = J("円");
  std::string bad[4] = {J("<麻痺>"), J("<毒>"), J("<気絶>"), J("<腹痛>")};
  std::string good[17] = {J("<無限>"), J("<満腹>"), J("<反射>"), J("<英雄>"), J("<怪盗>"),  J("<論攻>"),
                          J("<論防>"), J("<理装>"), J("<攻↑>"),  J("<防↑>"),  J("<魔防↑>"), J("<魔攻↑>"),
                          J("<癒>"),   J("<魔>"),   J("<精>"),   J("<追加>"), J("<力>")};
};

const PanelTexts& Texts() {
  static const PanelTexts texts;
  return texts;
}

int32_t Divisor(int32_t maximum) { return std::max(maximum, 1); }

// Percentage as the rules compute it; 64-bit so a large figure cannot wrap the product.
int64_t Percent(int32_t value, int32_t maximum) { return int64_t{value} * 100 / Divisor(maximum); }

// Texts go onto the black overlay with a clear background: the overlay is black
// already, and an opaque cell would cut holes into the floating figures and
// sparks drawn there before the panel (the HP figures pop right over the HP line).
void Text(Canvas& c, int x, int y, int size, Rgb color, const std::string& s, bool italic = false) {
  c.brush_style = BrushStyle::Clear;
  c.font = Font{size, true, italic, color};
  c.TextOut(x, y, s);
}

int Width(Canvas& c, int size, const std::string& s, bool italic = false) {
  c.font = Font{size, true, italic, colors::kWhite};
  return c.TextWidth(s);
}

// Right-aligned so the text ends at `right`.
void TextR(Canvas& c, int right, int y, int size, Rgb color, const std::string& s, bool italic = false) {
  Text(c, right - Width(c, size, s, italic), y, size, color, s, italic);
}

struct BarColors {
  Rgb track, fill;
};
constexpr BarColors kBlueBar{{0, 34, 68}, {51, 221, 255}};
constexpr BarColors kHpBar{{85, 51, 34}, {255, 119, 153}};
constexpr BarColors kMpBar{{34, 85, 51}, {238, 221, 102}};
constexpr Rgb kTpTrack{0, 34, 68};
constexpr Rgb kTpFlash{170, 255, 170};
constexpr BarColors kLifeBar{{51, 34, 85}, {170, 255, 68}};
constexpr BarColors kBellyBar{{85, 51, 0}, {255, 119, 34}};

// A two-pixel track of length L and, one pixel left and two above it, the fill
// of length value * L / maximum: the fill sits on the track like a raised edge.
void Bar(Canvas& c, int x0, int y, int length, int32_t value, int32_t maximum, Rgb track, Rgb fill) {
  c.brush_style = BrushStyle::Solid;
  c.pen_width = 1;
  c.brush_color = track;
  if (length > 0) c.FillRect(Rect{x0, y, x0 + length, y + 2});
  const int64_t f = int64_t{value} * length / Divisor(maximum);
  if (f > 0) {
    const int right = static_cast<int>(std::min<int64_t>(x0 - 1 + f, 1000));
    c.brush_color = fill;
    c.FillRect(Rect{x0 - 1, y - 2, right, y});
  }
}

void Bar(Canvas& c, int x0, int y, int length, int32_t value, int32_t maximum, BarColors colors) {
  Bar(c, x0, y, length, value, maximum, colors.track, colors.fill);
}

const tman* Enemy(Game& g) {
  if (g.foe_index < 0 || g.foe_index >= kUnitCount) return nullptr;
  return &g.unit[g.foe_index];
}

std::vector<std::string> StateList(const tman& u, bool good) {
  const PanelTexts& t = Texts();
  std::vector<std::string> s;
  if (!good) {
    const int32_t counters[4] = {u.paralysis_turns, u.poison_turns, u.faint_turns, u.stomachache_turns};
    for (int i = 0; i < 4; ++i) {
      if (counters[i] > 0) s.push_back(t.bad[i]);
    }
  } else {
    const int32_t counters[17] = {
        u.infinite_state_turns, u.full_state_turns,      u.reflect_turns,          u.guard_all,
        u.find_boost,           u.logic_attack_up_turns, u.logic_defence_up_turns, u.logic_armour_turns,
        u.attack_up_turns,      u.phys_defence_up_turns, u.magic_defence_up_turns, u.magic_attack_up_turns,
        u.heal_state_turns,     u.mana_state_turns,      u.spirit_state_turns,     u.extra_state_turns,
        u.power_state_turns};
    for (int i = 0; i < 17; ++i) {
      if (counters[i] > 0) s.push_back(t.good[i]);
    }
  }
  return s;
}

// A state list at the window's right edge, its last row at `bottom`. A list wider
// than the window (a dozen good states at once) breaks between states into rows
// stacked upwards, no higher than `top`, in a smaller font when that is still not
// enough, so that no state runs off the left edge.
void StateRows(Canvas& c, int top, int bottom, int size, Rgb color, const std::vector<std::string>& states) {
  if (states.empty()) return;
  std::vector<std::string> rows;
  for (int s = size;; --s) {
    rows.assign(1, "");
    for (const std::string& state : states) {
      if (!rows.back().empty() && Width(c, s, rows.back() + state) > kScreenSize) rows.emplace_back();
      rows.back() += state;
    }
    if (bottom - (static_cast<int>(rows.size()) - 1) * FontPixelHeight(s) >= top || s <= 6) {
      size = s;
      break;
    }
  }
  const int step = FontPixelHeight(size);
  const int n = static_cast<int>(rows.size());
  for (int i = 0; i < n; ++i) TextR(c, kScreenSize, bottom - (n - 1 - i) * step, size, color, rows[i]);
}

}  // namespace

Rgb PanelRatioColor(int32_t value, int32_t maximum) {
  const int64_t p = Percent(value, maximum);
  if (p <= 10) return {128, 0, 0};
  if (p <= 20) return {255, 0, 0};
  if (p <= 30) return {255, 119, 68};
  if (p <= 50) return {255, 204, 85};
  if (p <= 65) return {255, 255, 187};
  if (p <= 75) return {255, 255, 221};
  if (p <= 99) return colors::kWhite;
  return {0, 255, 255};
}

Rgb PanelAgeColor(int32_t age_days, int32_t lifespan_days) {
  const int64_t p = Percent(age_days, lifespan_days);
  if (p <= 19) return {0, 255, 255};
  if (p <= 34) return colors::kWhite;
  if (p <= 44) return {255, 255, 221};
  if (p <= 54) return {255, 255, 187};
  if (p <= 64) return {255, 204, 85};
  if (p <= 79) return {255, 119, 68};
  if (p <= 89) return {255, 0, 0};
  return {128, 0, 0};
}

Rgb PanelFameColor(int32_t fame) {
  if (fame <= 10) return {255, 0, 0};
  if (fame <= 20) return {255, 119, 0};
  if (fame <= 30) return {255, 204, 68};
  if (fame <= 45) return {255, 204, 153};
  if (fame <= 55) return colors::kWhite;
  if (fame <= 65) return {204, 255, 255};
  if (fame <= 75) return {153, 255, 255};
  if (fame <= 99) return {85, 255, 255};
  return {0, 255, 255};
}

Rgb PanelFullnessColor(int32_t fullness) {
  Rgb c = colors::kWhite;
  if (fullness >= 70) c = {106, 181, 255};
  if (fullness >= 90) c = {138, 255, 255};
  if (fullness <= 20) c = {255, 128, 128};
  if (fullness <= 10) c = {255, 0, 0};
  return c;
}

int32_t StepShown(int32_t shown, int32_t target) {
  int64_t s = shown;
  const int64_t t = target;
  if (t < s) s -= (s - t) / 10 + 1;
  if (s < t) s += (t - s) / 10 + 1;
  return static_cast<int32_t>(s);
}

void StepStatusPanel(Game& g) {
  if (g.screen.bak == nullptr || g.screen.cg == nullptr) return;
  PanelState& p = g.panel;
  p.drawn = {p.PanelSlide,    p.EnemyPanelSlide, p.ShownHp,      p.ShownMp,      p.ShownTp,
             p.ShownFullness, p.ShownExp,        p.ShownEnemyHp, p.ShownEnemyMp, p.ShownEnemyTp};
  const tman& me = g.unit[kPlayer];
  const tman* foe = Enemy(g);

  // Slides.
  if (p.PanelSlide < 0) p.PanelSlide += (-p.PanelSlide) / 4 + 1;
  if (p.EnemyPanelSlide < 0) p.EnemyPanelSlide += (-p.EnemyPanelSlide) / 2 + 1;

  // Shown values.
  p.ShownFullness = StepShown(p.ShownFullness, me.fullness);
  p.ShownHp = StepShown(p.ShownHp, me.hp);
  p.ShownMp = StepShown(p.ShownMp, me.mp);
  p.ShownTp = StepShown(p.ShownTp, me.tp);
  if (foe != nullptr) {
    p.ShownEnemyHp = StepShown(p.ShownEnemyHp, foe->hp);
    p.ShownEnemyMp = StepShown(p.ShownEnemyMp, foe->mp);
    p.ShownEnemyTp = StepShown(p.ShownEnemyTp, foe->tp);
  }
  p.ShownExp = StepShown(p.ShownExp, me.exp);
}

void DrawStatusPanel(Game& g) {
  if (g.screen.bak == nullptr || g.screen.cg == nullptr) return;
  Canvas& txt = g.screen.bak->canvas();
  Canvas& bars = g.screen.cg->canvas();
  const PanelState::Drawn& p = g.panel.drawn;
  const PanelTexts& t = Texts();
  const tmy& my = g.my;
  const tman& me = g.unit[kPlayer];

  const int left = p.PanelSlide + 1;
  const int right = 300 - p.PanelSlide;
  const Rgb white = colors::kWhite;

  // Left block: the day and the hours left, and in the shop its rank, progress and fame.
  Text(txt, left, 2, 8, white, Num(my.day_count) + t.day);
  const int32_t hours_left = my.day_hours - my.hours_used;
  Text(txt, left, 15, 8, white, t.hours_left + Num(hours_left) + t.hours);
  const bool in_shop = my.location == kShop;
  const int32_t rank_need = my.shop_rank * 10 + 10;
  if (in_shop) {
    Text(txt, left, 40, 8, white, t.rank + Num(my.shop_rank));
    Text(txt, left, 52, 8, white, t.shop_exp + Num(my.rank_progress) + "/" + Num(rank_need));
    Text(txt, left, 75, 8, PanelFameColor(my.fame), t.fame + Num(my.fame));
  }

  // Level block, laid out right to left: experience, then the level, then "Lv ".
  const int32_t exp_need = ExpToLevelUp(me.level);
  const std::string exp_text = " Exp " + Num(me.exp) + "/" + Num(exp_need);
  const std::string level_text = Num(me.level);
  const int exp_x = right - Width(txt, 7, exp_text);
  const int level_x = exp_x - Width(txt, 9, level_text);
  const int lv_x = level_x - Width(txt, 7, "Lv ");
  Text(txt, exp_x, 2, 7, white, exp_text);
  Text(txt, level_x, 0, 9, white, level_text);
  Text(txt, lv_x, 2, 7, white, "Lv ");

  TextR(txt, right, 15, 12, white, me.name + " ", true);
  TextR(txt, right, 40, 10, PanelRatioColor(p.Hp, me.max_hp), "HP:" + Num(p.Hp) + "/" + Num(me.max_hp));
  TextR(txt, right, 56, 10, PanelRatioColor(p.Mp, me.max_mp), "MP:" + Num(p.Mp) + "/" + Num(me.max_mp));
  TextR(txt, right, 86, 10, PanelAgeColor(me.age_days, me.lifespan_days),
        t.lifespan + Num(me.age_days) + "/" + Num(me.lifespan_days));
  TextR(txt, right, 132, 9, PanelFullnessColor(me.fullness), t.belly + Num(p.Fullness) + t.percent);
  TextR(txt, right, 157, 9, white, t.money + Num(my.money) + t.yen);

  // Enemy block during a battle against a named enemy.
  const tman* foe = Enemy(g);
  const bool enemy_block = g.in_battle == 1 && foe != nullptr && !foe->name.empty();
  if (enemy_block) {
    const int ex = p.EnemyPanelSlide;
    Text(txt, ex, 30, 16, white, foe->name);
    const int name_w = Width(txt, 16, foe->name);
    Text(txt, ex + name_w + 2, 38, 9, white, "Lv " + Num(foe->level));
    Text(txt, ex, 54, 10, PanelRatioColor(p.EnemyHp, foe->max_hp), "HP:" + Num(p.EnemyHp) + "/" + Num(foe->max_hp));
    Text(txt, ex, 70, 10, PanelRatioColor(p.EnemyMp, foe->max_mp), "MP:" + Num(p.EnemyMp) + "/" + Num(foe->max_mp));
  }

  // The state lists stay at the right edge; they grow a point while the enemy block shows.
  const int state_size = enemy_block ? 10 : 9;
  const std::vector<std::string> bad = StateList(me, false);
  StateRows(txt, 170, 170, state_size, {255, 85, 85}, bad);
  StateRows(txt, bad.empty() ? 170 : 170 + FontPixelHeight(state_size), 195, state_size, {0, 255, 136},
            StateList(me, true));

  // Bars straight onto the picture.
  const bool even_tick = g.FrameCounter % 2 == 0;
  Bar(bars, p.PanelSlide, 27, 95, hours_left, my.day_hours, kBlueBar);
  Bar(bars, right - 75, 14, 75, p.Exp, exp_need, kBlueBar);
  if (in_shop) Bar(bars, p.PanelSlide, 64, 75, my.rank_progress, rank_need, kBlueBar);
  Bar(bars, right - 80, 54, 80, p.Hp, me.max_hp, kHpBar);
  Bar(bars, right - 70, 70, 70, p.Mp, me.max_mp, kMpBar);
  Bar(bars, right - 60, 74, 60, p.Tp, 100, kTpTrack, p.Tp >= 100 && even_tick ? kTpFlash : Rgb{51, 255, 51});
  Bar(bars, right - 70, 101, 70, me.age_days, me.lifespan_days, kLifeBar);
  Bar(bars, right - 70, 146, 70, p.Fullness, 100, kBellyBar);
  if (enemy_block) {
    const int ex = p.EnemyPanelSlide;
    Bar(bars, ex, 68, 80, p.EnemyHp, foe->max_hp, kHpBar);
    Bar(bars, ex, 84, 40, p.EnemyMp, foe->max_mp, kMpBar);
    Bar(bars, ex, 94, 35, p.EnemyTp, 100, kTpTrack, p.EnemyTp > 99 && even_tick ? kTpFlash : Rgb{85, 255, 51});
  }
}
