// The cooking column in the real face: the previous recipe, with a product name long
// enough to wrap once, stands whole inside its label and the column's picture.
#include <QLabel>

#include <gtest/gtest.h>

#include "platform/qt/qt_platform.h"
#include "platform/text.h"
#include "shell/game.h"
#include "shell/layout.h"

namespace {

TEST(QtCookingColumn, PreviousRecipeWithAWrappedProductIsNotCut) {
  QtPlatform p;
  Game g(p);
  CreateMainWindow(g);
  Widget* label = p.FindWidget("item_l3");
  ASSERT_NE(label, nullptr);
  const std::string slot = "\r " + J("？？？？");
  label->SetCaption("\r" + J("(前回のレシピ)") + slot + slot + slot + slot + "\r" + J("　↓") + "\r" +
                    J("　ネメシスチョコレートケーキ"));
  auto* q = static_cast<QLabel*>(static_cast<QtWidget*>(label)->qwidget());
  const Rect r = label->Bounds();
  EXPECT_LE(q->heightForWidth(r.Width()), r.Height());
  EXPECT_LE(r.bottom, p.FindWidget("cook_cg")->Bounds().bottom);
}

}  // namespace
