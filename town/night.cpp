// SPDX-License-Identifier: GPL-3.0-or-later
#include "town/night.h"

#include <algorithm>
#include <string>

#include "battle/hp.h"
#include "core/action.h"
#include "core/game.h"
#include "core/scene.h"
#include "platform/text.h"
#include "presentation/log.h"
#include "presentation/screen.h"
#include "presentation/sound.h"
#include "town/clock.h"
#include "town/home.h"
#include "town/orders.h"
#include "town/shop.h"

namespace {

constexpr int32_t kRent = 100;
constexpr int32_t kFallbackReward = 1;

void LogLinesWait(Game& g, std::initializer_list<const char*> lines) {
  for (const char* line : lines) LogLineWait(g, J(line));
}

// The week's verdict by its regular sales.
void JudgeWeek(Game& g, int32_t buyers) {
  if (buyers == 0) {
    ChangeFame(g, -3);
    LogLinesWait(g, {"このお店つぶれますよ！！"});
  } else if (buyers == 1) {
    LogLinesWait(g, {"買ってくれたの一人だけだった....", "でもその一人のためにまた作ろっ♪"});
  } else if (buyers >= 2 && buyers <= 3) {
    LogLinesWait(g, {"少ないけど、買ってくれた人ありがとう♪"});
  } else if (buyers >= 4 && buyers <= 7) {
    LogLineWait(g, Num(buyers) + J("人も買ってくれた人いたよ！"));
    LogLinesWait(g, {"また来てくれるカナ～☆"});
  } else if (buyers >= 8 && buyers <= 14) {
    LogLinesWait(g, {"結構来てくれたよね！うやっほーい！"});
  } else if (buyers >= 15 && buyers <= 19) {
    LogLinesWait(g, {"このお店すげくね？！人気店じゃね！？"});
  } else if (buyers >= 20 && buyers <= 29) {
    LogLinesWait(g, {"すごーい、繁盛してる！してるうー！"});
  } else if (buyers >= 30 && buyers <= 999) {
    LogLinesWait(g, {"なんという事でしょう！あなたは天才ですねっ"});
  }
}

// A good week earns a third of its sales in some ingredient.
void RewardWeek(Game& g, int32_t buyers) {
  const int32_t n = buyers / 3;
  int32_t reward = kFallbackReward;
  for (int i = 0; i < 801; ++i) {
    const int32_t k = g.rng.Random(999);
    const titem& it = g.item_def[k];
    if (!it.name.empty() && it.recipe == 0 && it.special == 0) {
      reward = k;
      break;
    }
  }
  PlayWave(g, kChannelUi, "item.wav");
  int32_t& count = g.my.item_count[reward];
  count = std::min(count + n, 99);
  LogColoured(g, J("ご褒美として【") + g.item_def[reward].name + J("】を ") + Num(n) + J("個もらった"), "green");
  WaitForClick(g);
}

void SettleWeek(Game& g) {
  tmy& my = g.my;
  LogLine(g, "");
  LogColoured(g, J("今週の総売上は ") + Num(my.week_sales) + J("円でした"), "pink");
  WaitForClick(g);
  LogColoured(g, J("来客数は ") + Num(my.week_visitors) + J("人でした"), "pink");
  WaitForClick(g);
  JudgeWeek(g, my.week_buyers);
  if (my.week_buyers >= 10) RewardWeek(g, my.week_buyers);
  my.total_sales += my.week_sales;
  my.week_buyers = 0;
  my.week_sales = 0;
  my.week_visitors = 0;
  LogLine(g, "");
}

// Ages the player a day. True when the lifespan is reached: the game is over and
// the window closes (closing saves).
bool GrowOlder(Game& g) {
  tman& p = g.unit[kPlayer];
  ++p.age_days;
  if (p.age_days >= p.lifespan_days) {
    PlayWave(g, kChannelActs, "gameover.wav");
    LogLinesWait(g, {"…なんという事でしょう", "貴方はついに寿命を迎えてしまった", "短いようで長い人生でした",
                     "また来世であおうね…", "お店の事は心配しないで…", "たぶん森の動物達がなんとかしてくれるから！",
                     "多分だけどね…ばいばい…"});
    g.my.hours_used = g.my.day_hours - 3;
    CommitAction(g);  // the life's end is whole: the close saves it
    g.plat.CloseWindow();
    return true;
  }
  if (p.lifespan_days == p.age_days + 10) {
    LogLinesWait(g, {"…うう、なんだか体が苦しい", "嫌な寒気がする…", "そう言えば最近夢に死神が出てくる…",
                     "もしかして、もうすぐ…死ぬのかな…", "死んだらお店…終わっちゃう…"});
  }
  if (p.lifespan_days == p.age_days + 20) {
    LogLinesWait(g, {"…ゲホッ、ゲホッ", "なんだか体が重い…", "思えばずいぶんとこの森で生きてきたね…",
                     "いつ死んでも後悔のないように生きよう…"});
  }
  return false;
}

void PayRent(Game& g) {
  LogLineWait(g, J("今日は家賃支払いの日です...."));
  if (g.my.money >= kRent) {
    PlayWave(g, kChannelUi, "coin.wav");
    g.my.money -= kRent;
    LogLineWait(g, J("家賃 100円を支払いました"));
  } else {
    PlayWave(g, kChannelUi, "no.wav");
    LogLineWait(g, J("残念ながら家賃が払えませんでした...."));
    ChangeFame(g, -5);
  }
}

}  // namespace

bool NightCheck(Game& g) {
  tmy& my = g.my;
  if (my.hours_used < my.day_hours) return false;

  for (int s = kFirstOrderSlot; s <= kLastOrderSlot; ++s) {
    if (OrderInUse(my.orders[s])) ++my.orders[s].days;
  }
  ShowCg(g, "night.bmp");
  LogLine(g, "");
  LogLineWait(g, J("あ、もう夜が来ました"));
  LogLineWait(g, J("お休みなさーい"));
  tman& p = g.unit[kPlayer];
  ChangeHp(g, kPlayer, p.max_hp - p.hp);
  ChangeMp(g, kPlayer, p.max_mp - p.mp);
  if (my.day_count % 7 == 0 && my.day_count != 0) SettleWeek(g);

  // After death the window is closed and saved: the morning must not follow.
  if (!GrowOlder(g)) {
    my.hours_used = 0;
    ++my.day_count;
    ShowCg(g, "asa.bmp");
    LogLine(g, "");
    LogLineWait(g, J("朝が来ました"));
    if (my.day_count % 10 == 0) PayRent(g);
    if (SaveMorning(g)) PlaySaveSound(g);
  }
  Transfer(g, HomeMenu);
  return true;
}

std::string ShopTitle(Game& g) {
  // clang-format off
  static constexpr const char* kTitles[] = {
      "いつも商品の無いお菓子屋さん",         "たまにしか商品の無いお菓子屋さん",
      "最近ちょっとだけ商品のあるお菓子屋さん", "まあまあ頑張ってそうなお菓子屋さん",
      "最近は結構頑張ってるお菓子屋さん",     "とても頑張ってるお菓子屋さん",
      "とてもとても頑張ってるお菓子屋さん",   "ちょっぴりステキなお菓子屋さん",
      "けっこうステキなお菓子屋さん",         "とてもステキなお菓子屋さん",
      "とてもとてもステキなお菓子屋さん",     "人気のお菓子屋さん",
      "大人気のお菓子屋さん",                 "みんなの憩いの場のお菓子屋さん",
      "みんなの夢のお菓子屋さん",             "みんな大大大好きなお菓子屋さん",
      "★お菓子屋さん",                       "★★お菓子屋さん",
      "★★★お菓子屋さん",                   "★★★★お菓子屋さん",
      "★★★★★お菓子屋さん",               "世界一位のお菓子屋さん",
      "太陽系一位のお菓子屋さん",             "銀河系一位のお菓子屋さん",
      "宇宙一位のお菓子屋さん",               "全次元一位のお菓子屋さん",
      "神に等しいお菓子屋さん",               "神そのものなお菓子屋さん",
  };
  // clang-format on
  constexpr int32_t kNamed = static_cast<int32_t>(std::size(kTitles));
  const int32_t rank = g.my.shop_rank;
  if (rank < 0 || rank > 99999) return {};
  if (rank >= kNamed) return J("ポムリエ");
  return J(kTitles[rank]);
}
