// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/items.h"

#include "core/items_data.h"
#include "platform/text.h"

namespace {

std::string Plus(const char* what, int power) { return J(what) + " +" + Num(power); }

void Fill(GameState& s, const ItemRow& row) {
  titem& it = s.item_def[row.no];
  it.name = J(row.name);
  it.desc = row.desc != nullptr ? J(row.desc) : ItemEffectText(row.no, row.kind, row.power);
  it.special = row.special;
  it.price = row.price;
  it.kind = row.kind;
  it.power = row.power;
  it.area = row.area;
  for (int i = 0; i < 4; ++i) it.ingredient[i] = row.ingredient[i];
  it.recipe = row.recipe;
}

}  // namespace

std::string ItemEffectText(int item, int kind, int power) {
  switch (kind) {
    case 0: return Plus("HP", power);
    case 1: return Plus("MP", power);
    case 2: return J("毒をなおすよ");
    case 3: return J("腹痛をなおすよ");
    case 4: return Plus("お腹", power);
    case 6: return Plus("最大HP", power);
    case 7: return Plus("最大MP", power);
    case 8: return J("使うと攻撃力が上昇する");
    case 9: return Plus("知恵", power);
    case 10: return Plus("精神", power);
    case 11: return Plus("経験値", power);
    case 12: return J("完全回復");
    case 13: return J("使うと防御力が上昇する");
    case 14: return J("調理には適さない お腹 +") + Num(power);
    case 15: return J("英雄の匂いがする....使用すると....");
    case 16: return J("使用すると、一定時間アイテム入手時のレア度x2状態になる");
    case 17: return Plus("TP", power);
    case 23: return J("使うと時間が ") + Num(power) + J("時間回復する");
    case 24: return Plus("料理スキル", power);
    case 25: return Plus("探索スキル", power);
    case 26: return J("<無限>状態になる");
    case 27: return J("きいたことのない物語");
    case 28: return J("力,知恵,精神+") + Num(power);
    case 29: return J("一定時間、魔法防御力が上昇する");
    case 30: return J("<満腹>状態になる");
    case 31: return J("<癒>状態になる");
    case 32: return J("<追加>状態になる");
    case 33: return J("一定時間、物理防御力が上昇する");
    case 34: return J("一定時間、魔法攻撃力が上昇する");
    case 35: return J("<魔>状態になる");
    case 36: return J("<精>状態になる");
    case 37: return J("麻痺をなおすよ");
    case 38: return J("HPとMPを入れ替える");
    case 46: return J("敵に ") + Num(power) + J("ダメージ");
    case 47: return J("敵のHPを ") + Num(power) + J("吸収する");
    case 48: {
      // The fraction follows the bread, not the power: 468..472 take 1/10 .. 1/2.
      static const int kDivisor[] = {10, 5, 4, 3, 2};
      const int d = item >= 468 && item <= 472 ? kDivisor[item - 468] : 10;
      return J("敵のHPの1/") + Num(d) + J("を消失させる");
    }
    case 49: return J("敵の攻撃力を半減させる");
    case 50: return J("敵の防御力を半減させる");
    case 51: return J("敵の命中率を半減させる");
    case 52: return J("敵の回避率を半減させる");
    case 55: return J("一定時間、物理攻撃を反射する");
    case 56:  // kind 56 subtracts its power from the age: a negative power ages
      return power < 0 ? J("年齢 +") + Num(-static_cast<long long>(power)) : J("年齢 -") + Num(power);
    case 57: return Plus("寿命", power);
    default: return J("おかし作りの材料になる");
  }
}

void FillItemCatalogue(GameState& s) {
  s.item_def.fill(titem{});
  for (size_t i = 0; i < kItemFindCount; ++i) Fill(s, kItemFinds[i]);
  for (size_t i = 0; i < kItemProductCount; ++i) Fill(s, kItemProducts[i]);
}

bool ItemExists(const GameState& s, int n) { return n >= 1 && n < kItemCount && !s.item_def[n].name.empty(); }
