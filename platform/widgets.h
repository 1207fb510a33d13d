// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's widgets, created by the game from its own layout data and
// reached afterwards by name ("cg", "sel1", "bp_box", "item_list", "l_btn7", ...).
#pragma once

#include <string>
#include <vector>

#include "platform/canvas.h"

enum class WidgetKind {
  Image,      // shows its own picture (cg, bak, haikei, panel backgrounds)
  HitArea,    // transparent, only catches the mouse (sel1..sel4)
  Label,      // caption in a font colour, transparent background
  Panel,      // a plain container others are placed in (bp_box, item_box, name_box)
  ListBox,    // item_list
  TextField,  // name_l: one line of text, typed through the desktop's input method
};

struct WidgetSpec {
  std::string name;
  WidgetKind kind = WidgetKind::Image;
  std::string parent;  // empty: the window's client area
  int left = 0, top = 0, width = 0, height = 0;
  int font_px = 15;  // label, list and field font: pixel height
  bool bold = true;
  Rgb font_color = colors::kWhite;
  Rgb background = colors::kBlack;  // panels, list box and text field
  std::string caption;              // CP932
  std::string picture_path;         // image widgets: a picture file to show (may be empty)
  bool visible = true;
  bool stretch = false;  // image widgets: scale the picture to the widget
};

class Widget {
 public:
  virtual ~Widget() = default;
  virtual const std::string& Name() const = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual bool Visible() const = 0;
  virtual void SetBounds(int left, int top, int width, int height) = 0;
  virtual Rect Bounds() const = 0;
  // Brings the widget in front of its siblings.
  virtual void BringToFront() = 0;

  // Labels: CP932 caption and its colour.
  virtual void SetCaption(const std::string& cp932) = 0;
  virtual std::string Caption() const = 0;
  virtual void SetFontColor(Rgb color) = 0;

  // Image widgets: the picture shown (its canvas is drawn on by the game);
  // nullptr for other kinds.
  virtual Picture* picture() = 0;
  // Asks the widget to show its picture's new contents.
  virtual void Refresh() = 0;

  // List boxes: CP932 entries and the selected index (-1 none).
  virtual void SetItems(const std::vector<std::string>& cp932_items) = 0;
  virtual int ItemIndex() const = 0;
  virtual void SetItemIndex(int index) = 0;

  // Text fields: the CP932 text typed so far; input focus.
  virtual std::string Text() const = 0;
  virtual void SetText(const std::string& cp932) = 0;
  virtual void SetFocus() = 0;
};
