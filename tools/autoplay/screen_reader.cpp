// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/autoplay/screen_reader.h"

#include "core/game.h"
#include "platform/headless/headless_platform.h"
#include "platform/text.h"

namespace {

std::string LabelName(int k) { return "l_btn" + std::to_string(k); }

std::string CaptionOf(HeadlessPlatform& plat, const std::string& widget) {
  Widget* w = plat.FindWidget(widget);
  return w ? w->Caption() : std::string();
}

}  // namespace

bool Visible(HeadlessPlatform& plat, const std::string& widget, const std::string& panel) {
  Widget* w = plat.FindWidget(widget);
  Widget* p = panel.empty() ? nullptr : plat.FindWidget(panel);
  return w && w->Visible() && (panel.empty() || (p && p->Visible()));
}

Screen ReadScreen(Game& g, HeadlessPlatform& plat) {
  Screen s;
  auto offer = [&s](Input::Kind kind, int k = 0) { s.offers.push_back(Input{kind, k}); };

  if (Visible(plat, "item_box", "")) {
    // The box takes only its own labels and its list; clicks on the picture are ignored.
    s.mode = Screen::Mode::ItemBox;
    s.action_caption = CaptionOf(plat, "l_btn10");
    s.cook_caption = CaptionOf(plat, "l_btn13");
    if (const auto* items = plat.ListItems("item_list")) s.list = *items;
    if (Widget* list = plat.FindWidget("item_list")) s.selected = list->ItemIndex();
    for (int k = 9; k <= 13; ++k)
      if (Visible(plat, LabelName(k), "item_box")) offer(Input::Kind::Label, k);
    for (size_t i = 0; i < s.list.size(); ++i)
      if (!s.list[i].empty()) offer(Input::Kind::ListEntry, static_cast<int>(i));
    return s;
  }
  if (Visible(plat, "bp_box", "")) {
    s.mode = Screen::Mode::BonusPanel;
    s.name_entry = Visible(plat, "name_box", "bp_box");
    for (int k = 1; k <= 8; ++k)
      if (Visible(plat, LabelName(k), "bp_box")) offer(Input::Kind::Label, k);
    if (s.name_entry) offer(Input::Kind::TypeName);
    return s;
  }
  if (g.GamePhase < 0) {
    s.mode = Screen::Mode::Title;
    offer(Input::Kind::Click);
    return s;
  }
  if (g.ChoicePending == 1) {
    s.mode = Screen::Mode::Choice;
    for (int k = 1; k <= 4; ++k) {
      s.captions[k] = g.ChoiceCaption[k];
      if (!s.captions[k].empty()) offer(Input::Kind::Pick, k);
    }
    s.cancellable = g.menu_cancel_allowed == 1 || (g.in_battle == 1 && g.cancel_allowed == 1);
    if (s.cancellable) offer(Input::Kind::Cancel);
    return s;
  }
  if (g.WaitState == 0) {
    s.mode = Screen::Mode::ClickWait;
    offer(Input::Kind::Click);
  }
  return s;
}

void Perform(HeadlessPlatform& plat, const Input& in, const std::string& name) {
  switch (in.kind) {
    case Input::Kind::Click: plat.QueueMouseDown("cg", 150, 120); break;
    case Input::Kind::Pick: plat.QueueMouseDown("sel" + std::to_string(in.k), 8, 8); break;
    case Input::Kind::Cancel: plat.QueueMouseDown("cg", 150, 120, MouseButton::Right); break;
    case Input::Kind::Label: plat.QueueMouseDown(LabelName(in.k), 4, 4); break;
    case Input::Kind::ListEntry: plat.QueueListSelect(in.k); break;
    case Input::Kind::TypeName: plat.QueueText("name_l", name); break;
  }
}

std::string DescribeScreen(const Screen& s) {
  auto labels = [&s] {
    std::string out;
    for (const Input& in : s.offers)
      if (in.kind == Input::Kind::Label) out += " " + std::to_string(in.k);
    return out;
  };
  switch (s.mode) {
    case Screen::Mode::Title: return "title";
    case Screen::Mode::ClickWait: return "click wait";
    case Screen::Mode::Idle: return "nothing offered";
    case Screen::Mode::BonusPanel: return "bonus points, labels" + labels();
    case Screen::Mode::ItemBox:
      return "item box " + Cp932ToUtf8(s.action_caption) + ": " + std::to_string(s.list.size()) +
             " entries, selected " + std::to_string(s.selected) + ", labels" + labels();
    case Screen::Mode::Choice: {
      std::string out = "choice [";
      for (int k = 1; k <= 4; ++k) out += (k > 1 ? "|" : "") + Cp932ToUtf8(s.captions[k]);
      return out + (s.cancellable ? "] cancellable" : "]");
    }
  }
  return {};
}
