// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/startup.h"

#include <algorithm>
#include <memory>

#include "core/action.h"
#include "core/game.h"
#include "core/monsters.h"
#include "core/save.h"
#include "core/scene.h"
#include "presentation/log.h"
#include "presentation/midi.h"
#include "presentation/panel.h"
#include "presentation/screen.h"
#include "presentation/sound.h"
#include "shell/events.h"
#include "shell/layout.h"
#include "shell/scene_loop.h"
#include "shell/settings.h"
#include "town/character.h"
#include "town/cooking.h"

namespace {

// cg and bak show 00.bmp until the first drawing.
void LoadOpeningPicture(Game& g) {
  std::unique_ptr<Picture> opening = g.plat.LoadPicture(g.plat.ExeDir() + "cg/00.bmp");
  if (!opening) return;
  for (const char* name : {"cg", "bak"}) {
    Widget* w = g.plat.FindWidget(name);
    if (!w || !w->picture()) continue;
    const Rect r{0, 0, std::min(opening->Width(), kClientSize), std::min(opening->Height(), kClientSize)};
    w->picture()->canvas().CopyRect(r, *opening, r, CopyMode::Copy);
    w->Refresh();
  }
}

}  // namespace

void FormCreate(Game& g) {
  if (g.shell.created) return;
  g.shell.created = true;
  OpenSoundChannels(g);
  ApplySavedSettings(g);
  g.rng.Seed(static_cast<uint32_t>(g.plat.NowMs()));
  LoadOpeningPicture(g);
  MidiSetDevice(-1, 0);
  g.WaitState = 1;
  g.GamePhase = -2;
  ShowChoiceAreas(g, false);
  CreateSurfaces(g);
  ShowCg(g, "00.bmp");
  ResetScreenState(g);
  Load(g);
  CutSpriteFrames(g);
  g.panel.PanelSlide = -200;
  g.panel.EnemyPanelSlide = -200;
  g.log.ChoiceSlide = -200;
  g.log.ChoiceActive = 1;

  g.shell.TicksThisSecond = 0;
  g.shell.NextSecond = g.plat.NowMs() + 1000;
  g.plat.SetTimerInterval(kTimerIntervalMs);
  g.plat.SetTimerEnabled(true);
}

void Load(Game& g) {
  const SaveSlot slot = ReadSaveSlot(g);
  if (slot.may_overwrite && Save(g)) {
    PlaySaveSound(g);
    if (slot.from_read_only) g.plat.ShowMessage(MovedSaveMessage(g));
  }
  FillMonsterCatalogue(g);
}

void FormClose(Game& g) {
  g.WaitState = -1;
  g.ChoicePending = 0;
  // Whole actions only; the pot's contents count as the player's.
  if (SaveOnClose(g)) PlaySaveSound(g);
  ReturnRecipeSlots(g);  // and so they are, for what still unwinds
}

void FormDestroy(Game& g) {
  if (g.shell.destroyed) return;
  g.shell.destroyed = true;
  g.plat.SetTimerEnabled(false);
  MidiFree();
  for (auto& slot : g.screen.PictureSlots) slot.reset();
  g.screen.haikei.reset();
  CloseSoundChannels(g);
}

void RunProgram(Game& g) {
  ShellEvents events(g);
  g.plat.SetEvents(&events);
  CreateMainWindow(g);
  events.FormCreate();
  g.plat.ShowWindow();
  RunSceneLoop(g);
  events.FormDestroy();
  g.plat.SetEvents(nullptr);
}
