// SPDX-License-Identifier: GPL-3.0-or-later
#include "field/inscriptions.h"

namespace {

constexpr const char* k0[] = {"「ウサクマ参上！！」"};
constexpr const char* k1[] = {"【指名手配】", "ウサクマ", "罪状：畑のニンジン食べ放題", "見かけた方は森のクマまで",
                              "懸賞金：ニンジン三本"};
constexpr const char* k2[] = {"「この奥に宝あり」", "....の下に小さく「うそです」と書いてある"};
constexpr const char* k3[] = {"♪ほーれほれ　ほらあなの", "♪おーくのおくには　なにがある",
                              "♪こうもり　いしころ　ひみつのたから"};
constexpr const char* k4[] = {"「ここまで来たら引き返せ」", "「....と言われると進みたくなる」", "「わかる」"};
constexpr const char* k5[] = {"「たんけん三日目　おなかがすいた」"};
constexpr const char* k6[] = {"「ドラゴンを見た！本当だってば！」", "「寝ぼけてただけだろ」"};
constexpr const char* k7[] = {"相合い傘の落書きがある", "「クマ　ネコ」", "....ネコの方が消されている"};
constexpr const char* k8[] = {"「宝の地図」", "→　→　↓　←　↑　ここ", "....矢印がぐるぐる回っている"};
constexpr const char* k9[] = {"「つるはし落としました", "拾った方は返してください",
                              "　　　　　　　　鉱山のモグラより」"};
constexpr const char* k10[] = {"「壁に落書きしないでください」", "....と壁に落書きしてある"};
constexpr const char* k11[] = {"♪ウッサーマ　ウッサーマ", "♪おれは海の男さ　ウッサーマ",
                               "♪ニンジン食べたら　ウッサーマ"};
constexpr const char* k12[] = {"「梟博士の本当の年齢は", "５おくまんさいらしい」"};
constexpr const char* k13[] = {"「伝説のお菓子のレシピは", "三つの宝を混ぜると....」", "ここから先はかすれて読めない"};
constexpr const char* k14[] = {"「ポムリエのお菓子　おいしかったです」", "....ちょっとうれしい"};
constexpr const char* k15[] = {"正の字がびっしり書いてある", "何を数えたんだろう...."};
constexpr const char* k16[] = {"「ここで転んだ人　→　正正正」", "気をつけよう"};
constexpr const char* k17[] = {"「黄金王の杖は", "　洞窟の岩の中に眠る」", "....誰かが岩を叩いた跡がある"};
constexpr const char* k18[] = {"「ぼく　クマ」", "「ぼく　ウサクマ」", "「ちがうの？」", "「ちがうよ」"};
constexpr const char* k19[] = {"へのへのもへじが描いてある", "....目が合った気がする"};

constexpr std::span<const char* const> kAll[kInscriptionCount] = {
    k0, k1, k2, k3, k4, k5, k6, k7, k8, k9, k10, k11, k12, k13, k14, k15, k16, k17, k18, k19,
};

}  // namespace

std::span<const char* const> InscriptionAt(int k) { return kAll[k]; }
