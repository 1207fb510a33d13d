// SPDX-License-Identifier: GPL-3.0-or-later
// The records of the game state and their numbering.
// Items 0..999 (0 is never a real item), units from 0 (0 the player, 1 the enemy of a
// battle), monsters 0..255, techniques 0..99 (0 the plain attack). An empty name marks
// an unused item, monster or technique number. Every integer is 32-bit and wraps.
#pragma once

#include <array>
#include <cstdint>
#include <string>

inline constexpr int kItemCount = 1000;
// A number that indexes the item tables (a damaged save may hold any other).
inline constexpr bool IsItemNumber(int32_t n) { return n >= 0 && n < kItemCount; }
inline constexpr int kUnitCount = 256;
inline constexpr int kMonsterCount = 256;
inline constexpr int kWazaCount = 100;
inline constexpr int kGuestNameCount = 226;
inline constexpr int kLogSize = 21;
inline constexpr int kPopSlots = 100;
inline constexpr int kOrderSlots = 11;  // 1..10 used

inline constexpr int kPlayer = 0;
inline constexpr int kHome = -1;
inline constexpr int kShop = -2;

// One customer order; slot 0 of `orders` stays empty.
struct torder {
  std::string customer;
  int32_t item = -1;
  int32_t days = 0;
};

// The player's progress.
struct tmy {
  std::string player_name;
  int32_t spare_a = 0;
  int32_t spare_b = 0;
  int32_t fame = 0;
  int32_t money = 0;
  int32_t grade = 0;  // never assigned; read by the order price limit and the clamp
  int32_t load_count = 0;
  std::array<int32_t, kItemCount> item_count{};
  std::array<int32_t, kItemCount> spare_seal{};
  int32_t spare_c = 0;
  int32_t week_buyers = 0;
  int32_t shop_rank = 0;
  int32_t rank_progress = 0;
  int32_t week_visitors = 0;
  int32_t week_sales = 0;
  int32_t total_visitors = 0;
  int32_t total_sales = 0;
  int32_t day_count = 0;
  int32_t play_count = 0;
  int32_t spare_d = 0;
  int32_t spare_e = 0;
  int32_t day_hours = 0;
  int32_t hours_used = 0;
  std::array<int32_t, 116> flag{};  // [0] character exists; [107] enlarges a text by a point
  std::array<int32_t, 100> spare_f{};
  std::array<int32_t, 20> spare_g{};
  std::array<int32_t, 20> spare_h{};
  int32_t location = 0;    // kHome, kShop, or field 0..3
  int32_t draw_speed = 0;  // 0 normal, 1 medium, 2 low
  std::array<int32_t, 20> spare_i{};
  std::array<int32_t, 20> spare_j{};
  int32_t player_x = 0;
  int32_t player_y = 0;
  std::array<int32_t, 11> spare_k{};
  std::array<int32_t, 11> spare_l{};
  std::array<torder, kOrderSlots> orders{};
};

// A unit: the player, the enemy of a battle, or a monster template of the catalogue.
struct tman {
  std::string name;
  int32_t area = 0;  // field of random encounters, 99 never
  int32_t tier = 0;
  int32_t bp = 0;
  int32_t fullness = 0;
  int32_t level_peak = 0;
  int32_t level = 0;
  int32_t exp = 0;
  int32_t max_hp = 0;
  int32_t hp = 0;
  int32_t mp = 0;
  int32_t max_mp = 0;
  int32_t tp = 0;
  int32_t spare_m = 0;
  int32_t size = 0;  // half the side of the picture frame
  int32_t map_active = 0;
  int32_t map_kind = 0;
  int32_t map_x = 0;
  int32_t map_y = 0;
  int32_t defence = 0;
  int32_t spirit = 0;
  int32_t strength = 0;
  int32_t magic = 0;
  int32_t hit = 0;
  int32_t evasion = 0;
  std::array<int32_t, 4> waza{};
  int32_t drop = 0;
  int32_t extra_state_turns = 0;
  int32_t heal_state_turns = 0;
  int32_t mana_state_turns = 0;
  int32_t spirit_state_turns = 0;
  int32_t attack_up_turns = 0;
  int32_t phys_defence_up_turns = 0;
  int32_t magic_attack_up_turns = 0;
  int32_t magic_defence_up_turns = 0;
  int32_t find_boost = 0;
  int32_t full_state_turns = 0;
  int32_t reflect_turns = 0;
  int32_t guard_all = 0;
  int32_t stomachache_turns = 0;
  int32_t poison_turns = 0;
  int32_t paralysis_turns = 0;
  int32_t faint_turns = 0;
  int32_t spare_n = 0;
  int32_t cook_skill = 0;
  int32_t spare_o = 0;
  int32_t spare_p = 0;
  int32_t spare_q = 0;
  int32_t spare_r = 0;
  int32_t infinite_state_turns = 0;
  int32_t spare_s = 0;
  int32_t lifespan_days = 0;
  int32_t age_days = 0;
  int32_t spare_t = 0;
  int32_t logic_attack_up_turns = 0;
  int32_t logic_defence_up_turns = 0;
  int32_t logic_armour_turns = 0;
  int32_t explore_skill = 0;
  std::array<int32_t, 5> sold_out{};
  int32_t guard_turns = 0;
  int32_t power_state_turns = 0;
};

// Experience a unit of `level` needs for the next level.
inline constexpr int32_t ExpToLevelUp(int32_t level) { return level * 10 + 50; }

// One item of the catalogue.
struct titem {
  std::string name;
  std::string desc;
  int32_t special = 0;
  int32_t price = 0;
  int32_t kind = 0;
  int32_t power = 0;
  int32_t area = 0;
  std::array<int32_t, 4> ingredient{};
  int32_t recipe = 0;
};

// One technique.
struct twaza {
  std::string name;
  std::string desc;
  int32_t tp_cost = 0;
  int32_t mp_cost = 0;
};

// One line of the message log.
struct tmoji_efe {
  std::string text;
  int32_t color = 0;
};

// The state every module shares. Module-private state (log slides, panel, effects,
// sound) lives beside it in Game.
struct GameState {
  tmy my;
  std::array<tman, kUnitCount> unit{};
  std::array<tman, kMonsterCount> monster{};
  std::array<titem, kItemCount> item_def{};
  std::array<twaza, kWazaCount> waza_def{};
  std::array<std::string, kGuestNameCount> guest_names{};
  std::array<tmoji_efe, kLogSize> MessageLog{};
  std::array<std::string, 6> ChoiceCaption{};
  std::array<std::string, kPopSlots> pop_text{};
  double spare_time = 0;
  uint8_t in_battle = 0;
  int32_t foe_index = -1;
  uint8_t level_up_bp = 0;
  uint8_t cancel_allowed = 0;
  uint8_t menu_cancel_allowed = 0;
  int32_t WaitState = 1;
  int32_t ChoicePending = 0;
  int32_t ChoiceResult = 0;
  int32_t GamePhase = -2;  // -2 splash, -1 title and character creation, 0 playing
  int32_t FrameCounter = 0;
};

// Bounds every drawing tick enforces during play.
void ClampState(GameState& s);
