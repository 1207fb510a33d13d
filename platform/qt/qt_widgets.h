// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's widgets on Qt, built from the game's WidgetSpec.
#pragma once

#include <QWidget>

#include <memory>
#include <string>
#include <string_view>

#include "platform/events.h"
#include "platform/qt/qt_picture.h"
#include "platform/widgets.h"

class QLabel;
class QListWidget;
class QLineEdit;
class QtPlatform;

// Which handler pair a widget's mouse events reach, by the widget's name.
struct MouseRoute {
  enum Kind { None, Cg, Sel, LBtn, Panel } kind = None;  // Panel: bp_box or item_box, moves only
  int k = 0;                                             // sel1..sel4, l_btn1..l_btn13
  constexpr bool operator==(const MouseRoute&) const = default;
};
// `parent` is the name of the widget's parent (empty for the window).
MouseRoute MouseRouteFor(std::string_view name, std::string_view parent = {});

class QtWidget : public Widget {
 public:
  // The Qt widget is owned by `parent` (and so by the main window).
  QtWidget(QtPlatform& platform, const WidgetSpec& layout, QWidget* parent);
  ~QtWidget() override;

  const std::string& Name() const override { return name_; }
  void SetVisible(bool visible) override;
  bool Visible() const override;
  void SetBounds(int left, int top, int width, int height) override;
  Rect Bounds() const override;
  void BringToFront() override;
  void SetCaption(const std::string& cp932) override;
  std::string Caption() const override { return caption_; }
  void SetFontColor(Rgb color) override;
  Picture* picture() override { return picture_.get(); }
  void Refresh() override;
  void SetItems(const std::vector<std::string>& cp932_items) override;
  int ItemIndex() const override;
  void SetItemIndex(int index) override;
  std::string Text() const override;
  void SetText(const std::string& cp932) override;
  void SetFocus() override;

  // Shows the widget at a whole multiple of its size: geometry and fonts grow,
  // pictures are enlarged pixel for pixel. The game keeps seeing 300 x 300.
  void ApplyScale(int scale);

  WidgetKind kind() const { return kind_; }
  QWidget* qwidget() const { return widget_; }
  // Repaints an image widget whose picture changed since it was last shown.
  void RepaintIfChanged();

 private:
  void FitLabelFont();

  QtPlatform& platform_;
  std::string name_;
  WidgetKind kind_;
  std::string caption_;
  Rect bounds_;  // in picture pixels, whatever the scale
  int font_px_;
  bool bold_;
  int scale_ = 1;
  std::unique_ptr<QtPicture> picture_;
  QWidget* widget_ = nullptr;
  QLabel* label_ = nullptr;
  QListWidget* list_ = nullptr;
  QLineEdit* edit_ = nullptr;
  uint64_t shown_generation_ = 0;
  bool programmatic_ = false;  // list changes made by the game are not the user's clicks
  bool reported_since_press_ = false;
};
