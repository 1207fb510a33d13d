// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/monsters.h"

#include <iterator>

#include "core/items.h"
#include "platform/text.h"

namespace {

struct MonsterRow {
  int no;
  const char* name;
  int area, tier, max_hp, max_mp;
  int defence, spirit, strength, magic, hit, evasion;
  int waza[4];
  int drop;
};

// Every monster's frame is 30 x 30 (size 15).
constexpr int kMonsterSize = 15;

constexpr MonsterRow kMonsters[] = {
    {0, "パイナップルヘッド", 0, 0, 10, 1, 0, 0, 0, 0, 0, 0, {0, 0, 0, 0}, 0},
    {1, "森の虫", 0, 0, 5, 1, 0, 0, 0, 0, 0, 0, {0, 1, 0, 0}, 220},
    {2, "森の野鳥", 0, 1, 5, 2, 0, 1, 1, 0, 1, 0, {0, 1, 2, 0}, 334},
    {3, "森の野獣", 0, 2, 8, 1, 0, 2, 0, 0, 0, 1, {0, 1, 6, 0}, 864},
    {4, "森の蛮族", 0, 3, 6, 1, 0, 0, 3, 0, 2, 0, {0, 1, 7, 0}, 313},
    {5, "森の亡霊", 0, 4, 8, 2, 0, 0, 2, 3, 3, 0, {0, 1, 4, 0}, 240},
    {10, "草原の紋白蝶", 1, 0, 5, 1, 0, 0, 0, 0, 0, 0, {0, 1, 0, 0}, 50},
    {11, "草原のバッタ", 1, 2, 5, 2, 0, 1, 1, 0, 1, 0, {0, 1, 2, 0}, 49},
    {12, "草原のハムスター", 1, 3, 8, 1, 0, 2, 0, 0, 0, 1, {0, 1, 6, 0}, 853},
    {13, "草原の羊", 1, 4, 6, 1, 0, 0, 3, 0, 2, 0, {0, 1, 7, 0}, 1},
    {14, "草原の巨人", 1, 5, 8, 2, 0, 0, 2, 3, 3, 0, {0, 1, 4, 0}, 854},
    {20, "ヤドカリ", 2, 0, 5, 1, 0, 0, 0, 0, 0, 0, {0, 1, 0, 0}, 855},
    {21, "かに", 2, 3, 5, 2, 0, 1, 1, 0, 1, 0, {0, 1, 2, 0}, 856},
    {22, "キラーフィッシュ", 2, 4, 8, 1, 0, 2, 0, 0, 0, 1, {0, 1, 6, 0}, 857},
    {23, "たこ", 2, 5, 6, 1, 0, 0, 3, 0, 2, 0, {0, 1, 7, 0}, 115},
    {24, "ノーチラス", 2, 6, 8, 2, 0, 0, 2, 3, 3, 0, {0, 1, 4, 0}, 858},
    {30, "闇のキノコ", 3, 0, 5, 1, 0, 0, 0, 0, 0, 0, {0, 1, 0, 0}, 332},
    {31, "闇のコウモリ", 3, 5, 5, 2, 0, 1, 1, 0, 1, 0, {0, 1, 2, 0}, 859},
    {32, "闇のうさぎ", 3, 6, 8, 1, 0, 2, 0, 0, 0, 1, {0, 1, 6, 0}, 860},
    {33, "闇の狼", 3, 7, 6, 1, 0, 0, 3, 0, 2, 0, {0, 1, 7, 0}, 861},
    {34, "闇の住民", 3, 8, 8, 2, 0, 0, 2, 3, 3, 0, {0, 1, 4, 0}, 862},
    // Never met at random (area 99): fought only where a scene names it.
    {35, "ドラゴン", 99, 10, 100, 50, 10, 10, 10, 10, 10, 10, {0, 1, 12, 7}, 872},
};

struct WazaRow {
  const char* name;
  const char* desc;
  int tp_cost, mp_cost;
};

// By technique number; 0 is the plain attack.
constexpr WazaRow kWaza[] = {
    {"こうげき", "ぶつりこうげき", 0, 0},
    {"ぼうぎょ", "ぶつりぼうぎょ", 0, 0},
    {"ヒール", "回復魔法 MP-1", 0, 1},
    {"ひっさつ", "物理攻撃 TP=0", 100, 0},
    {"もんどう", "論理攻撃 INT-INT TP-2", 2, 0},
    {"ｲﾚｲｻｰｽｸﾘｰﾑ", "自分と相手のHPを半減させる TP-50", 50, 0},
    {"粘液", "相手を毒化させる MP-1", 0, 1},
    {"ためる", "次の物理攻撃ダメージを上昇させる TP-10", 10, 0},
    {"でこぴん", "相手の最大HPの1/10絶対ダメージ", 0, 0},
    {"ヴァハ", "魔法攻撃 MP-1", 0, 1},
    {"詠唱", "呪文を唱える", 0, 0},
    {"龍言語魔法", "ダメージ分の絶対ダメージ TP-30", 30, 0},
    {"体当たり", "相手を気絶させる TP-10", 10, 0},
    {"弓矢狼", "弓矢攻撃 TP-10", 10, 0},
    {"月光", "神格攻撃 MND-MND MP-1", 0, 1},
    {"吸血", "HPを吸収する INT-MND MP-2", 0, 2},
    {"暗黒剣", "物理攻撃+敵のMAXHP10% HP-10% TP-10", 10, 0},
    {"二刀", "物理攻撃x2 TP-20", 20, 0},
    {"手裏剣", "投擲攻撃 DEX-VIT TP-10", 10, 0},
    {"Ｍ法", "相手のHPを半減させる MP-5", 0, 5},
    {"真言", "相手を麻痺状態にさせる MP-3", 0, 3},
    {"トロッコ銃", "機工攻撃 DEX-AGI TP-10", 10, 0},
};

}  // namespace

void FillMonsterCatalogue(GameState& s) {
  s.monster.fill(tman{});
  for (const MonsterRow& r : kMonsters) {
    tman& m = s.monster[r.no];
    m.name = J(r.name);
    m.area = r.area;
    m.tier = r.tier;
    m.max_hp = r.max_hp;
    m.max_mp = r.max_mp;
    m.size = kMonsterSize;
    m.defence = r.defence;
    m.spirit = r.spirit;
    m.strength = r.strength;
    m.magic = r.magic;
    m.hit = r.hit;
    m.evasion = r.evasion;
    for (int i = 0; i < 4; ++i) m.waza[i] = r.waza[i];
    m.drop = r.drop;
  }
  s.waza_def.fill(twaza{});
  for (size_t w = 0; w < std::size(kWaza); ++w) {
    s.waza_def[w] = twaza{J(kWaza[w].name), J(kWaza[w].desc), kWaza[w].tp_cost, kWaza[w].mp_cost};
  }
  FillItemCatalogue(s);
}

bool MonsterMeetsEncounterRule(const GameState& s, int n, int field) {
  // Only the four fields have encounters; area 99 (the dragon) matches none of them.
  if (n < 1 || n > 254 || field < 0 || field > 3) return false;
  const tman& m = s.monster[n];
  return !m.name.empty() && m.area == field && s.unit[kPlayer].level / 5 + 2 >= m.tier;
}
