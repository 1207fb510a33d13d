// SPDX-License-Identifier: GPL-3.0-or-later
// The cooking column in the real face: the recipe and the previous recipe, with the
// longest product names and ingredient names wider than the column, stand whole
// inside their labels and the column's picture, at every scale.
#include <QLabel>

#include <gtest/gtest.h>

#include "core/game.h"
#include "platform/qt/qt_platform.h"
#include "platform/text.h"
#include "shell/layout.h"

namespace {

TEST(QtCookingColumn, LongNamesStandWholeAtEveryScale) {
  QtPlatform p;
  Game g(p);
  CreateMainWindow(g);
  // The texts as the cooking screen builds them: four four_slots, one a line.
  auto four_slots = [](const char* name) {
    const std::string slot = " " + J(name);
    return slot + "\r" + slot + "\r" + slot + "\r" + slot;
  };
  auto previous = [&](const char* slot, const char* product) {
    return "\r" + J("(前回のレシピ)") + "\r" + four_slots(slot) + "\r" + J("　↓") + "\r" + J("　") + J(product);
  };
  const struct {
    const char* label;
    std::string caption;
  } cases[] = {
      {"item_l3", previous("？？？？", "ネメシスチョコレートケーキ")},
      {"item_l3", previous("？？？？", "ｒｏｍｉ特製イチゴモコモコケーキ")},
      {"item_l3", previous("？？？？", "ヒコ゜ヒコ゜ヒコ゜クンのクロワッサン")},
      {"item_l3", previous("タンホイザーウィルス", "ヒコ゜ヒコ゜ヒコ゜クンのクロワッサン")},
      {"item_l2", "\r" + J("★レシピ") + "\r\r" + four_slots("メモの若返りウィルス")},
  };
  const int column_bottom = p.FindWidget("cook_cg")->Bounds().bottom;
  for (int scale : {1, 2}) {
    for (const auto& c : cases) {
      auto* w = static_cast<QtWidget*>(p.FindWidget(c.label));
      w->ApplyScale(scale);
      w->SetCaption(c.caption);
      auto* q = static_cast<QLabel*>(w->qwidget());
      const Rect r = w->Bounds();
      EXPECT_LE(q->heightForWidth(r.Width() * scale), r.Height() * scale) << c.label << " x" << scale;
      EXPECT_LE(r.bottom, column_bottom);
    }
  }
}

}  // namespace
