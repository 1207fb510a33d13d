// SPDX-License-Identifier: GPL-3.0-or-later
#include "town/character.h"

#include <string>

#include "core/game.h"
#include "platform/text.h"
#include "presentation/effects.h"
#include "presentation/log.h"
#include "presentation/sound.h"
#include "town/item_box.h"

namespace {

constexpr int kLabelButtons = 13;
constexpr int kStartBp = 6;

std::string LabelName(int k) { return "l_btn" + std::to_string(k); }

void BlackenLabels(Game& g) {
  for (int k = 1; k <= kLabelButtons; ++k) {
    if (Widget* w = g.plat.FindWidget(LabelName(k))) w->SetFontColor(colors::kBlack);
  }
}

// The name goes into the save file one value per line: control bytes (a pasted line
// break) would shift every later line, so they are dropped. CP932 trail bytes are
// never below 0x40, so this cannot cut a double-byte character.
std::string CleanName(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) out += c;
  }
  return out;
}

}  // namespace

void NewGame(Game& g) {
  tmy& my = g.my;
  my.player_x = 19;
  my.player_y = 20;
  my.spare_a = 0;
  my.load_count = 0;
  my.play_count = 0;
  my.flag[107] = 0;
  my.day_count = 0;
  my.day_hours = 10;
  my.hours_used = 0;
  my.spare_d = 0;
  my.spare_e = 0;
  for (int i = 0; i <= 100; ++i) my.flag[i] = 0;
  my.item_count.fill(0);
  my.spare_seal.fill(0);
  my.spare_c = 0;
  my.spare_b = 0;
  my.spare_k.fill(0);
  my.spare_l.fill(0);
  my.spare_i.fill(0);
  my.spare_j.fill(0);
  my.money = 300;
  my.week_buyers = 0;
  my.shop_rank = 0;
  my.rank_progress = 0;
  my.week_visitors = 0;
  my.week_sales = 0;
  my.total_visitors = 0;
  my.total_sales = 0;
  my.fame = 50;
  for (int i = 1; i < kOrderSlots; ++i) my.orders[i] = torder{};

  tman& p = g.unit[kPlayer];
  p.level_peak = 99;
  p.level = 0;
  p.exp = 0;
  p.fullness = 100;
  p.max_hp = 20;
  p.max_mp = 1;
  p.age_days = 0;
  p.lifespan_days = 100;
  p.map_x = my.player_x;
  p.map_y = my.player_y;
  p.hp = p.max_hp;
  p.mp = p.max_mp;
  p.strength = 1;
  p.defence = 0;
  p.magic = 0;
  p.spirit = 0;
  p.hit = 0;
  p.evasion = 0;
  p.bp = kStartBp;
  p.explore_skill = 0;
  p.cook_skill = 0;
  p.full_state_turns = 0;
  p.infinite_state_turns = 0;
  p.poison_turns = 0;
  p.stomachache_turns = 0;
  p.paralysis_turns = 0;
  p.extra_state_turns = 0;
  p.phys_defence_up_turns = 0;
  p.magic_defence_up_turns = 0;
  p.attack_up_turns = 0;
  p.find_boost = 0;
  p.guard_all = 0;
  p.guard_turns = 0;
  p.power_state_turns = 0;

  g.spare_time = 0;
  ResetScreenState(g);
}

void ResetScreenState(Game& g) {
  g.in_battle = 0;
  g.cancel_allowed = 0;
  g.menu_cancel_allowed = 0;
  g.level_up_bp = 0;
}

void StartPlay(Game& g) {
  PlayWave(g, kChannelNews, "start2.wav");
  g.cancel_allowed = 0;
  g.menu_cancel_allowed = 0;
  g.level_up_bp = 0;
  ClearEffects(g);
  ClearLog(g);
}

void OpenCharacterCreation(Game& g) {
  if (Widget* box = g.plat.FindWidget("bp_box")) {
    box->SetBounds(0, 0, box->Bounds().Width(), box->Bounds().Height());
    box->SetVisible(true);
    box->BringToFront();
  }
  Show(g, "name_box", true);
  Show(g, "l_btn7", true);
  Show(g, "l_btn7_cg", true);
  if (Widget* field = g.plat.FindWidget("name_l")) field->SetFocus();
}

void SpendBonusPoint(Game& g, int k) {
  tman& p = g.unit[kPlayer];
  if (p.bp <= 0) return;
  int32_t* stat = nullptr;
  switch (k) {
    case 1: stat = &p.strength; break;
    case 2: stat = &p.defence; break;
    case 3: stat = &p.magic; break;
    case 4: stat = &p.spirit; break;
    case 5: stat = &p.hit; break;
    case 6: stat = &p.evasion; break;
    default: return;
  }
  PlayWave(g, kChannelUi, "bp.wav");
  *stat += 1;
  p.bp -= 1;
}

void BonusReset(Game& g) {
  PlayWave(g, kChannelUi, "no.wav");
  NewGame(g);
}

void BonusOk(Game& g) {
  PlayWave(g, kChannelUi, "ok.wav");
  Show(g, "bp_box", false);
  if (g.my.flag[0] == 0) {
    Widget* field = g.plat.FindWidget("name_l");
    std::string name = field ? CleanName(field->Text()) : std::string();
    g.my.player_name = name.empty() ? J("ヘッド") : name;
    g.unit[kPlayer].name = g.my.player_name;
    Show(g, "name_box", false);
  }
  if (g.level_up_bp == 1) g.level_up_bp = 0;
}

void LabelMouseDown(Game& g, int k) {
  if (k >= 1 && k <= 6) {
    SpendBonusPoint(g, k);
  } else if (k == 7) {
    BonusReset(g);
  } else if (k == 8) {
    BonusOk(g);
  } else if (k >= 9 && k <= 13) {
    ItemBoxLabelDown(g, k);
  }
}

void LabelMouseMove(Game& g, int k) {
  if (k < 1 || k > kLabelButtons) return;
  const std::string name = LabelName(k);
  if (g.shell.HoveredLabel == name) return;
  BlackenLabels(g);
  static constexpr SoundChannel kChannels[4] = {kChannelHits, kChannelActs, kChannelNews, kChannelUi};
  PlayWave(g, kChannels[g.rng.Random(4)], "key.wav");
  if (Widget* w = g.plat.FindWidget(name)) w->SetFontColor(colors::kWhite);
  g.shell.HoveredLabel = name;
}

void ClearLabelHover(Game& g) {
  if (g.shell.HoveredLabel.empty()) return;
  g.shell.HoveredLabel.clear();
  BlackenLabels(g);
}
