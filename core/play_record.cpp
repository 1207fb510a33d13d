// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/play_record.h"

#include <iterator>

#include "platform/text.h"

std::string ShopTitleForRank(int32_t rank) {
  static const char* const kTitles[] = {
      "いつも商品の無いお菓子屋さん",
      "たまにしか商品の無いお菓子屋さん",
      "最近ちょっとだけ商品のあるお菓子屋さん",
      "まあまあ頑張ってそうなお菓子屋さん",
      "最近は結構頑張ってるお菓子屋さん",
      "とても頑張ってるお菓子屋さん",
      "とてもとても頑張ってるお菓子屋さん",
      "ちょっぴりステキなお菓子屋さん",
      "けっこうステキなお菓子屋さん",
      "とてもステキなお菓子屋さん",
      "とてもとてもステキなお菓子屋さん",
      "人気のお菓子屋さん",
      "大人気のお菓子屋さん",
      "みんなの憩いの場のお菓子屋さん",
      "みんなの夢のお菓子屋さん",
      "みんな大大大好きなお菓子屋さん",
      "★お菓子屋さん",
      "★★お菓子屋さん",
      "★★★お菓子屋さん",
      "★★★★お菓子屋さん",
      "★★★★★お菓子屋さん",
      "世界一位のお菓子屋さん",
      "太陽系一位のお菓子屋さん",
      "銀河系一位のお菓子屋さん",
      "宇宙一位のお菓子屋さん",
      "全次元一位のお菓子屋さん",
      "神に等しいお菓子屋さん",
      "神そのものなお菓子屋さん",
  };
  constexpr int32_t kNamed = static_cast<int32_t>(std::size(kTitles));
  if (rank >= 0 && rank < kNamed) return J(kTitles[rank]);
  if (rank >= kNamed && rank <= 99999) return J("ポムリエ");
  return {};
}

std::string PlayRecordText(const GameState& s) {
  const tmy& my = s.my;
  const std::string lines[] = {
      J("★ポムリエ ver2.0"),
      J("プレー回数: ") + Num(my.play_count) + J("回"),
      J("日数: ") + Num(my.day_count),
      J("所持金: ") + Num(my.money) + J("円"),
      J("LV: ") + Num(s.unit[kPlayer].level),
      J("お店の名声: ") + Num(my.fame),
      J("お店のRANK: ") + Num(my.shop_rank) + " " + ShopTitleForRank(my.shop_rank),
      J("これまでの総来客数: ") + Num(my.total_visitors) + J("人"),
      J("これまでの総売り上げ: ") + Num(my.total_sales) + J("円"),
  };
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  return out;
}

std::string PlayRecordPath(const std::string& user_dir) { return user_dir + "きろく.txt"; }
