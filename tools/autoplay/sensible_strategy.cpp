// SPDX-License-Identifier: GPL-3.0-or-later
// A day of the sensible player: eat when hungry, cook what a seen recipe allows,
// sell in the shop while there is stock (advertising once a day), otherwise
// search the best field its level can take, camp when hurt, and head home with
// the last hour so the night finds it at home. Menus are told apart by their
// captions only, as a player reads them.
#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <unordered_map>
#include <vector>

#include "core/game.h"
#include "platform/text.h"
#include "tools/autoplay/sensible_strategy.h"
#include "tools/autoplay/strategy.h"

namespace {

enum class BoxPurpose { None, Eat, Heal, Cook };

// Effect kinds worth using whenever owned: lasting stat and skill gains.
bool IsLastingGain(int kind) {
  static const std::set<int> kKinds = {5, 6, 7, 8, 9, 10, 13, 24, 25, 27, 28, 43, 57};
  return kKinds.count(kind) != 0;
}

// The count in a tool caption such as "あける(鍵:3)"; -1 when it has none.
int ToolCount(const std::string& caption) {
  const size_t colon = caption.rfind(':');
  if (colon == std::string::npos) return -1;
  int n = 0;
  bool digits = false;
  for (size_t i = colon + 1; i < caption.size() && caption[i] >= '0' && caption[i] <= '9'; ++i) {
    n = n * 10 + (caption[i] - '0');
    digits = true;
  }
  return digits ? n : -1;
}

class SensibleStrategy : public Strategy {
 public:
  explicit SensibleStrategy(uint32_t seed) : rnd_(seed) {}

  Input Choose(Game& g, const Screen& s) override {
    if (g.my.day_count != day_) NewDay(g);
    switch (s.mode) {
      case Screen::Mode::BonusPanel: return BonusPanel(g, s);
      case Screen::Mode::ItemBox: return ItemBox(g, s);
      case Screen::Mode::Choice: return Choice(g, s);
      default: return s.offers.front();
    }
  }

  void Observe(Game& g, const std::string& line) override {
    heal_blocked_ = false;  // the battle moved on: the box may serve next time
    // A recipe glimpse: "とあるレシピ.." then one "　★" line per ingredient.
    static const std::string kGlimpse = J("とあるレシピ..");
    static const std::string kStar = J("　★");
    if (line.rfind(kGlimpse, 0) == 0) {
      glimpse_.clear();
      in_glimpse_ = true;
      return;
    }
    if (in_glimpse_ && line.rfind(kStar, 0) == 0) {
      std::string name = line.substr(kStar.size());
      while (!name.empty() && name.back() == ' ') name.pop_back();  // odd lengths were padded
      if (int item = ItemNamed(g, name); item > 0) glimpse_.push_back(item);
      LearnGlimpse(g);
      return;
    }
    in_glimpse_ = false;
    // An order customer names the wish: "【name】が欲しいんですけど…".
    static const std::string kWish = J("】が欲しいんですけど…");
    if (const size_t end = line.find(kWish); end != std::string::npos) {
      static const std::string kOpen = J("【");
      const size_t open = line.find(kOpen);
      wished_ =
          open == std::string::npos ? 0 : ItemNamed(g, line.substr(open + kOpen.size(), end - open - kOpen.size()));
    }
  }

  std::string Name() override { return J("ぽむりえ"); }

 private:
  // --- knowledge -------------------------------------------------------------
  int ItemNamed(Game& g, const std::string& name) {
    if (names_.empty()) {
      for (int i = 1; i < kItemCount; ++i)
        if (!g.item_def[i].name.empty()) names_[g.item_def[i].name] = i;  // the highest number wins
    }
    auto it = names_.find(name);
    return it == names_.end() ? 0 : it->second;
  }

  // The item an entry of the list stands for: "NN name" or a merchant's bare name.
  int EntryItem(Game& g, const std::string& entry) {
    if (entry.size() > 3)
      if (int item = ItemNamed(g, entry.substr(3)); item > 0) return item;
    return ItemNamed(g, entry);
  }

  static std::vector<int> Ingredients(const titem& it) {
    std::vector<int> v;
    for (int x : it.ingredient)
      if (x != 0) v.push_back(x);
    std::sort(v.begin(), v.end());
    return v;
  }

  // The glimpse so far names a product's full list once a recipe's ingredients match it.
  void LearnGlimpse(Game& g) {
    std::vector<int> seen = glimpse_;
    std::sort(seen.begin(), seen.end());
    for (int i = kItemCount - 1; i > 0; --i) {
      const titem& it = g.item_def[i];
      if (it.recipe == 1 && !it.name.empty() && Ingredients(it) == seen) {
        known_.insert(i);
        return;
      }
    }
  }

  bool Owns(Game& g, int item) { return item > 0 && item < kItemCount && g.my.item_count[item] > 0; }

  // The most valuable known recipe whose ingredients are all owned.
  std::vector<int> CookPlan(Game& g) {
    std::vector<int> best;
    int best_price = -1;
    for (int product : known_) {
      const std::vector<int> need = Ingredients(g.item_def[product]);
      std::map<int, int> count;
      for (int x : need) ++count[x];
      bool ok = !need.empty();
      for (auto [item, n] : count) ok = ok && item > 0 && item < kItemCount && g.my.item_count[item] >= n;
      if (ok && g.item_def[product].price > best_price && g.my.item_count[product] < 99) {
        best = need;
        best_price = g.item_def[product].price;
      }
    }
    return best;
  }

  bool HasStock(Game& g) {
    for (int i = 1; i < kItemCount; ++i)
      if (g.my.item_count[i] > 0 && g.item_def[i].recipe == 1 && g.item_def[i].special == 0) return true;
    return false;
  }

  int FoodItem(Game& g) {
    int best = 0;
    for (int i = 1; i < kItemCount; ++i) {
      const titem& it = g.item_def[i];
      if (g.my.item_count[i] > 0 && it.kind == 4 && !it.name.empty() && it.recipe == 0 &&
          (best == 0 || it.power > g.item_def[best].power))
        best = i;
    }
    // Sweets are for selling; eat one only when nothing else is left.
    for (int i = 1; best == 0 && i < kItemCount; ++i)
      if (g.my.item_count[i] > 0 && g.item_def[i].kind == 4 && !g.item_def[i].name.empty()) best = i;
    return best;
  }

  int HoursLeft(Game& g) { return g.my.day_hours - g.my.hours_used; }
  tman& Me(Game& g) { return g.unit[kPlayer]; }

  void NewDay(Game& g) {
    day_ = g.my.day_count;
    advertised_ = false;
    cooks_today_ = 0;
  }

  // --- screens ---------------------------------------------------------------
  Input Label(int k) { return Input{Input::Kind::Label, k}; }
  Input Pick(int k) { return Input{Input::Kind::Pick, k}; }

  Input BonusPanel(Game& g, const Screen& s) {
    if (s.name_entry && !named_) {
      named_ = true;
      return Input{Input::Kind::TypeName, 0};
    }
    // Strength first, then defence and accuracy; spirit adds HP at each level.
    static const int kOrder[] = {1, 2, 5, 1, 4, 6, 1, 2, 5, 3};
    if (Me(g).bp > 0) return Label(kOrder[spent_++ % 10]);
    named_ = false;
    return Label(8);
  }

  int Find(const Screen& s, const std::string& caption) {
    for (int k = 1; k <= 4; ++k)
      if (s.captions[k] == caption) return k;
    return 0;
  }

  Input Choice(Game& g, const Screen& s) {
    auto has = [&](const char* utf8) { return Find(s, J(utf8)); };
    tman& me = Me(g);
    const int hours = HoursLeft(g);
    box_visit_actions_ = 0;  // a box visit ends at the next question

    if (has("たんけん") && has("お店へ")) {  // home
      searches_ = 0;
      if (me.fullness < 40 && FoodItem(g) != 0) return Box(BoxPurpose::Eat, has("アイテム"));
      if (hours >= 1 && cooks_today_ < 4 && !CookPlan(g).empty()) return Box(BoxPurpose::Cook, has("おかし作り"));
      // The last hour is no use in a field (home would be the next stop): wait it out in the shop.
      if (hours >= 1 && (HasStock(g) || hours <= 1)) return Pick(has("お店へ"));
      return Pick(has("たんけん"));
    }
    if (has("もり")) {  // destinations
      int best = 1;
      for (int k = 2; k <= 4; ++k)
        if (!s.captions[k].empty() && me.level >= (k - 1) * 4) best = k;
      return Pick(best);
    }
    if (has("さがす") && has("キャンプ")) {  // a field
      if (me.hp <= me.max_hp / 3) return Pick(hours >= 2 ? has("キャンプ") : has("帰る"));
      if (me.fullness < 25 && FoodItem(g) != 0) return Box(BoxPurpose::Eat, has("アイテム"));
      if (hours <= 1) return Pick(has("帰る"));  // rest at home before the night
      if (searches_ >= 5 && !CookPlan(g).empty()) return Pick(has("帰る"));
      ++searches_;
      return Pick(has("さがす"));
    }
    if (has("待つ") && has("せんでん")) {  // the shop
      if (!advertised_ && g.my.fame < 70 && g.my.money >= 150 && hours >= 2) return Pick(has("せんでん"));
      return Pick(hours >= 1 && (HasStock(g) || hours <= 1) ? has("待つ") : has("もどる"));
    }
    if (has("100円の宣伝")) {
      if (advertised_) return Pick(has("もどる"));
      advertised_ = true;
      return Pick(g.my.money >= 3000 ? has("1000円の宣伝") : g.my.money >= 150 ? has("100円の宣伝") : has("もどる"));
    }
    if (has("すぐ渡す")) return Pick(has("すぐ渡す"));
    if (has("注文を受ける")) return Pick(known_.count(wished_) ? has("注文を受ける") : has("断る"));
    if (has("まほう") && has("アイテム")) {  // battle commands
      if (s.captions[1] == J("ひっさつ")) return Pick(1);
      want_heal_ = me.hp < me.max_hp / 3 && me.mp >= 1 && Owns(g, 46);
      if (want_heal_) return Pick(has("まほう"));
      if (me.hp < me.max_hp / 4 && !heal_blocked_) {
        for (int i = 1; i < kItemCount; ++i)
          if (Owns(g, i) && g.item_def[i].kind == 0 && g.item_def[i].power > 0)
            return Box(BoxPurpose::Heal, has("アイテム"));
      }
      return Pick(1);
    }
    if (has("ヴァハ(MP-1)")) {  // the magic list
      if (want_heal_ && has("ヒール(MP-1)")) return Pick(has("ヒール(MP-1)"));
      if (me.mp >= 1) return Pick(has("ヴァハ(MP-1)"));
      if (s.cancellable) return Input{Input::Kind::Cancel, 0};
    }
    if (has("たべる") && has("はぎとる")) return Pick(me.fullness < 60 ? has("たべる") : has("はぎとる"));
    if (has("助けを求める")) return Pick(has("島へ行く") && hours >= 4 ? has("島へ行く") : has("助けを求める"));
    if (has("もっと潜る")) return Pick(me.hp > me.max_hp / 2 ? has("もっと潜る") : has("あがる"));
    if (has("ジャンプ")) return Pick(me.hp > 3 ? has("ジャンプ") : has("いらない"));
    // A tool scene: use the tool when its count says there is one.
    if (int n = ToolCount(s.captions[1]); n >= 0) return Pick(n > 0 ? 1 : 2);
    for (int k = 1; k <= 4; ++k)  // any other scene: its first answer is the friendly one
      if (!s.captions[k].empty()) return Pick(k);
    return s.offers.front();
  }

  Input Box(BoxPurpose purpose, int choice) {
    purpose_ = purpose;
    box_visit_actions_ = 0;
    plan_.clear();
    plan_step_ = 0;
    reset_done_ = false;
    return Pick(choice);
  }

  // Selects the entry for `item`, or presses `label` once it is selected.
  Input UseEntry(Game& g, const Screen& s, int item, int label) {
    for (size_t i = 0; i < s.list.size(); ++i) {
      if (s.list[i].empty() || EntryItem(g, s.list[i]) != item) continue;
      if (s.selected == static_cast<int>(i)) return Label(label);
      return Input{Input::Kind::ListEntry, static_cast<int>(i)};
    }
    return Label(9);  // not listed after all: leave
  }

  Input ItemBox(Game& g, const Screen& s) {
    // Every visit ends: a bounded number of actions, then >BACK.
    if (++box_visit_actions_ > 40) return Label(9);
    const bool cooking = s.action_caption == J("使っちゃう");
    const bool buying = s.action_caption == J("買う");
    tman& me = Me(g);
    if (cooking) {
      if (!reset_done_) {
        reset_done_ = true;
        if (s.cook_caption == J("RESET")) return Label(13);  // leftovers of an earlier visit go back
      }
      if (plan_step_ == 0 && plan_.empty()) {
        if (cooks_today_ >= 4 || HoursLeft(g) < 1) return Label(9);
        plan_ = CookPlan(g);
        if (plan_.empty()) return Label(9);
      }
      if (plan_step_ < plan_.size()) {
        Input in = UseEntry(g, s, plan_[plan_step_], 11);
        if (in.kind == Input::Kind::Label && in.k == 11) ++plan_step_;
        return in;
      }
      plan_.clear();
      plan_step_ = 0;
      ++cooks_today_;
      return Label(12);
    }
    if (buying) {
      // Ingredients of a known recipe, while the purse stays comfortable.
      for (size_t i = 0; i < s.list.size() && box_visit_actions_ < 6; ++i) {
        const int item = s.list[i].empty() ? 0 : EntryItem(g, s.list[i]);
        if (item == 0 || g.my.money < g.item_def[item].price + 300) continue;
        for (int product : known_)
          for (int x : g.item_def[product].ingredient)
            if (x == item)
              return s.selected == static_cast<int>(i) ? Label(10) : Input{Input::Kind::ListEntry, static_cast<int>(i)};
      }
      return Label(9);
    }
    // Use mode.
    if (purpose_ == BoxPurpose::Heal && g.in_battle == 1) {
      // The purpose holds until the entry is used (or found missing): selecting comes first.
      for (int i = 1; i < kItemCount; ++i)
        if (Owns(g, i) && g.item_def[i].kind == 0 && g.item_def[i].power > 0) {
          const Input in = UseEntry(g, s, i, 10);
          if (in.kind == Input::Kind::Label) purpose_ = BoxPurpose::None;
          heal_blocked_ = in.kind == Input::Kind::Label && in.k == 9;
          return in;
        }
      purpose_ = BoxPurpose::None;
      heal_blocked_ = true;
      return Label(9);
    }
    if (g.in_battle == 1) return Label(9);
    if (me.fullness < 70)
      if (int food = FoodItem(g); food != 0) return UseEntry(g, s, food, 10);
    for (int i = 1; i < kItemCount; ++i)
      if (Owns(g, i) && IsLastingGain(g.item_def[i].kind)) return UseEntry(g, s, i, 10);
    return Label(9);
  }

  std::mt19937 rnd_;
  std::unordered_map<std::string, int> names_;
  std::set<int> known_;  // products whose recipe was seen
  std::vector<int> glimpse_;
  bool in_glimpse_ = false;
  int wished_ = 0;
  int day_ = -1;
  bool advertised_ = false;
  int cooks_today_ = 0;
  int searches_ = 0;
  bool named_ = false;
  int spent_ = 0;
  bool want_heal_ = false;
  bool heal_blocked_ = false;  // the box had no healing to give this turn
  BoxPurpose purpose_ = BoxPurpose::None;
  int box_visit_actions_ = 0;
  std::vector<int> plan_;
  size_t plan_step_ = 0;
  bool reset_done_ = false;
};

}  // namespace

std::unique_ptr<Strategy> MakeSensibleStrategy(uint32_t seed) { return std::make_unique<SensibleStrategy>(seed); }
