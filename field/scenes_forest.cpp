// SPDX-License-Identifier: GPL-3.0-or-later
// The forest's creatures: the bear, the cat and the owl doctor.
#include <algorithm>

#include "battle/hp.h"
#include "core/game.h"
#include "field/finds.h"
#include "field/owl_lines.h"
#include "field/scenes.h"
#include "field/search.h"
#include "platform/text.h"
#include "presentation/log.h"
#include "presentation/screen.h"
#include "presentation/sound.h"

namespace {

// Talk, then a present whose worth grows with the friendliness of the answer.
void TalkAndGift(Game& g, const char* line, int32_t value) {
  LogTalkWait(g, J(line));
  GiveGift(g, value);
}

// The empty forest after a creature has gone, with the line that says how.
void Gone(Game& g, const char* line) {
  ShowCg(g, "kuma0.bmp");
  LogLineWait(g, J(line));
}

void BearRunsOff(Game& g) {
  LogTalkWait(g, J("クマ「........」"));
  Gone(g, "クマさんは走って逃げて行った..");
}

void OwlTalk(Game& g) {
  int& stage = OwlVisits(g);
  if (stage >= kOwlLastStage) {
    stage = kOwlLastStage;
    LogTalkWait(g, J("フォッフー、またおまえか"));
    LogTalkWait(g, J("何かあったかのう…"));
    ItemFind(g, 1000);
    return;
  }
  // A damaged save may hold a negative stage: start from the beginning.
  stage = std::max(stage, 0);
  const OwlStage& s = OwlStageAt(stage);
  stage += 1;
  for (const char* line : OwlLines(s.before)) LogTalkWait(g, J(line));
  Ask(g, J(s.captions[0]), J(s.captions[1]), J(s.captions[2]));
  for (const char* line : OwlLines(s.after)) LogTalkWait(g, J(line));
  LogLineWait(g, J("梟博士の木の下に何か落ちてる...."));
  ItemFind(g, s.find_value);
}

}  // namespace

bool Bear(Game& g) {
  ShowCg(g, "kuma.bmp");
  LogLine(g, J("あ、クマさん"));
  switch (Ask(g, J("はなす"), J("たたく"), J("ばいばい"))) {
    case 1:
      switch (g.rng.Random(4)) {
        case 0: TalkAndGift(g, "クマ「こんにちは」", 500); break;
        case 1: BearRunsOff(g); break;
        case 2: TalkAndGift(g, "クマ「ぼく、ウサクマとは違うよ」", 1000); break;
        default: TalkAndGift(g, "クマ「なにしてるの？」", 1500); break;
      }
      break;
    case 2:
      PlayWave(g, kChannelNews, "damage.wav");
      LogLineWait(g, J("ポカッ"));
      if (g.rng.Random(2) == 0) {
        ShowCg(g, "kuma_cry.bmp");
        LogLineWait(g, J("泣いた。"));
      } else {
        BearRunsOff(g);
      }
      break;
    case 3:
      LogTalkWait(g, J("クマ「ばいばい」"));
      Gone(g, "クマさんはいなくなった..");
      break;
  }
  return true;
}

bool Cat(Game& g) {
  ShowCg(g, "neko.bmp");
  LogLine(g, J("ん？、ネコちゃんじゃないですか～"));
  switch (Ask(g, J("はなす"), J("ける"), J("ばいばい"))) {
    case 1:
      switch (g.rng.Random(4)) {
        case 0: TalkAndGift(g, "ネコ「ごきげんよう！」", 500); break;
        case 1:
          LogTalkWait(g, J("ネコ「........」"));
          Gone(g, "ネコは一目散に駆けて行った..何故..");
          break;
        case 2:
          ShowCg(g, "neko2.bmp");
          TalkAndGift(g, "ネコ「シャー！！！」", 1000);
          break;
        default: TalkAndGift(g, "ネコ「犬と比べないで！！」", 1500); break;
      }
      break;
    case 2:
      PlayWave(g, kChannelNews, "damage.wav");
      LogLineWait(g, J("ドンッ"));
      LogTalkWait(g, J("ネコ「........」"));
      Gone(g, "ネコは走って逃げて行った..");
      break;
    case 3:
      LogTalkWait(g, J("ネコ「またね」"));
      Gone(g, "ネコはいなくなった..");
      break;
  }
  return true;
}

bool OwlDoctor(Game& g) {
  ShowCg(g, "fuku.bmp");
  LogLine(g, J("フォッフー、フォッフー、"));
  switch (Ask(g, J("はなす"), J("石を投げる"), J("木を揺らす"))) {
    case 1: OwlTalk(g); break;
    case 2:
      PlayWave(g, kChannelNews, "nageru.wav");
      LogLineWait(g, J("石を投げた"));
      if (g.rng.Random(2) == 0) {
        for (const char* line :
             {"梟博士「........」", "わしに石を投げようなど....", "５おくまんねん早い....", "カアアアアア！！"})
          LogTalkWait(g, J(line));
        TakeDamage(g, kPlayer, 5);
      } else {
        LogTalkWait(g, J("梟博士「痛っ」"));
        ShowCg(g, "fuku_cry.bmp");
        LogTalkWait(g, J("うわーあああん"));
      }
      break;
    case 3: LogTalkWait(g, J("梟博士「....はて、地震かな....」")); break;
  }
  return true;
}
