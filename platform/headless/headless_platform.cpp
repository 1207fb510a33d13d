// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/headless/headless_platform.h"

#include <charconv>

#include "platform/bmp.h"

// A widget that only remembers what the game tells it.
class HeadlessPlatform::HeadlessWidget : public Widget {
 public:
  HeadlessWidget(HeadlessPlatform& owner, const WidgetSpec& layout) : owner_(owner), spec_(layout) {
    if (layout.kind == WidgetKind::Image) {
      picture_ = std::make_unique<SoftPicture>(layout.width, layout.height);
      if (!layout.picture_path.empty()) {
        if (auto img = ReadBmpFile(layout.picture_path)) {
          for (int y = 0; y < std::min(img->height, layout.height); ++y)
            for (int x = 0; x < std::min(img->width, layout.width); ++x)
              picture_->SetPixel(x, y, Rgb::FromPacked(img->pixels[static_cast<size_t>(y) * img->width + x]));
        }
      }
    }
  }
  const std::string& Name() const override { return spec_.name; }
  void SetVisible(bool visible) override { spec_.visible = visible; }
  bool Visible() const override { return spec_.visible; }
  void SetBounds(int left, int top, int width, int height) override {
    spec_.left = left;
    spec_.top = top;
    spec_.width = width;
    spec_.height = height;
  }
  Rect Bounds() const override {
    return Rect{spec_.left, spec_.top, spec_.left + spec_.width, spec_.top + spec_.height};
  }
  void BringToFront() override {}
  void SetCaption(const std::string& cp932) override { spec_.caption = cp932; }
  std::string Caption() const override { return spec_.caption; }
  void SetFontColor(Rgb color) override { spec_.font_color = color; }
  Rgb FontColor() const { return spec_.font_color; }
  Picture* picture() override { return picture_.get(); }
  SoftPicture* soft_picture() { return picture_.get(); }
  void Refresh() override {}
  void SetItems(const std::vector<std::string>& items) override {
    items_ = items;
    if (index_ >= static_cast<int>(items_.size())) index_ = -1;
  }
  int ItemIndex() const override { return index_; }
  void SetItemIndex(int index) override {
    index_ = (index >= 0 && index < static_cast<int>(items_.size())) ? index : -1;
  }
  std::string Text() const override { return text_; }
  void SetText(const std::string& cp932) override { text_ = cp932; }
  void SetFocus() override {}
  const WidgetSpec& layout() const { return spec_; }
  const std::vector<std::string>& items() const { return items_; }

 private:
  HeadlessPlatform& owner_;
  WidgetSpec spec_;
  std::unique_ptr<SoftPicture> picture_;
  std::vector<std::string> items_;
  int index_ = -1;
  std::string text_;
};

HeadlessPlatform::HeadlessPlatform(std::string exe_dir) : exe_dir_(std::move(exe_dir)) {
  if (exe_dir_.empty() || exe_dir_.back() != '/') exe_dir_ += '/';
  next_tick_ms_ = interval_ms_;
}

HeadlessPlatform::~HeadlessPlatform() = default;

void HeadlessPlatform::QueueMouseDown(const std::string& widget, int x, int y, MouseButton button) {
  Push(Input{Input::Kind::MouseDown, widget, x, y, 0, button, {}, {}});
}
void HeadlessPlatform::QueueMouseMove(const std::string& widget, int x, int y) {
  Push(Input{Input::Kind::MouseMove, widget, x, y, 0, MouseButton::Left, {}, {}});
}
void HeadlessPlatform::QueueKey(int key) { Push(Input{Input::Kind::Key, {}, 0, 0, key, MouseButton::Left, {}, {}}); }
void HeadlessPlatform::QueueWheel(int steps) {
  Push(Input{Input::Kind::Wheel, {}, 0, 0, steps, MouseButton::Left, {}, {}});
}
void HeadlessPlatform::QueueListSelect(int index) {
  Push(Input{Input::Kind::ListSelect, "item_list", 0, 0, index, MouseButton::Left, {}, {}});
}
void HeadlessPlatform::QueueText(const std::string& widget, const std::string& cp932) {
  Push(Input{Input::Kind::Text, widget, 0, 0, 0, MouseButton::Left, cp932, {}});
}
void HeadlessPlatform::QueueTicks(int n) { Push(Input{Input::Kind::Ticks, {}, 0, 0, n, MouseButton::Left, {}, {}}); }
void HeadlessPlatform::QueueAction(std::function<void()> action) {
  Push(Input{Input::Kind::Action, {}, 0, 0, 0, MouseButton::Left, {}, std::move(action)});
}
void HeadlessPlatform::QueueClose() { Push(Input{Input::Kind::Close, {}, 0, 0, 0, MouseButton::Left, {}, {}}); }
void HeadlessPlatform::QueueDialogAnswer(bool yes) { answers_.push_back(yes); }

SoftPicture* HeadlessPlatform::PictureOf(std::string_view widget) {
  auto it = by_name_.find(widget);
  return it == by_name_.end() ? nullptr : it->second->soft_picture();
}

const std::vector<std::string>* HeadlessPlatform::ListItems(std::string_view widget) {
  auto it = by_name_.find(widget);
  return it == by_name_.end() ? nullptr : &it->second->items();
}

std::unique_ptr<Picture> HeadlessPlatform::CreatePicture(int width, int height) {
  return std::make_unique<SoftPicture>(width, height);
}

std::unique_ptr<Picture> HeadlessPlatform::LoadPicture(const std::string& path) {
  auto img = ReadBmpFile(path);
  if (!img) return nullptr;
  auto pic = std::make_unique<SoftPicture>(img->width, img->height);
  pic->pixels() = std::move(img->pixels);
  return pic;
}

Widget& HeadlessPlatform::CreateWidget(const WidgetSpec& layout) {
  widgets_.push_back(std::make_unique<HeadlessWidget>(*this, layout));
  HeadlessWidget* w = widgets_.back().get();
  by_name_[layout.name] = w;
  return *w;
}

Widget* HeadlessPlatform::FindWidget(std::string_view name) {
  auto it = by_name_.find(name);
  return it == by_name_.end() ? nullptr : it->second;
}

void HeadlessPlatform::CloseWindow() {
  if (closed_ || closing_) return;
  closing_ = true;
  if (events_) events_->FormClose();
  closed_ = true;
}

bool HeadlessPlatform::AskYesNo(const std::string& cp932) {
  questions.push_back(cp932);
  if (answers_.empty()) return default_answer;
  bool a = answers_.front();
  answers_.pop_front();
  return a;
}

void HeadlessPlatform::ShowMessage(const std::string& cp932) { messages.push_back(cp932); }

void HeadlessPlatform::FireTimerIfDue() {
  if (now_ms_ < next_tick_ms_) return;
  next_tick_ms_ = now_ms_ + interval_ms_;
  audio_.AdvanceTo(now_ms_);
  if (!timer_enabled_ || !events_ || in_timer_ || closed_) return;
  ++ticks_fired;
  if (delay_ticks_ > 0) --delay_ticks_;
  in_timer_ = true;
  events_->Timer1Timer();
  in_timer_ = false;
}

// Widgets named sel<k> and l_btn<k> have handlers of their own; the rest is the picture.
void HeadlessPlatform::DispatchMouse(const std::string& widget, bool down, MouseButton button, int x, int y) {
  // A hidden widget (or one inside a hidden panel) catches nothing: the press lands on
  // the picture beneath, as it does in a real window.
  bool hidden = false;
  int abs_x = x, abs_y = y;
  for (auto it = by_name_.find(widget); it != by_name_.end(); it = by_name_.find(it->second->layout().parent)) {
    hidden = hidden || !it->second->Visible();
    abs_x += it->second->Bounds().left;
    abs_y += it->second->Bounds().top;
    if (it->second->layout().parent.empty()) break;
  }
  if (hidden) {
    down ? events_->cgMouseDown(button, abs_x, abs_y) : events_->cgMouseMove(abs_x, abs_y);
    return;
  }
  auto index_after = [&](std::string_view prefix) {
    if (widget.compare(0, prefix.size(), prefix) != 0) return 0;
    int k = 0;
    auto [p, ec] = std::from_chars(widget.data() + prefix.size(), widget.data() + widget.size(), k);
    return (ec == std::errc() && p == widget.data() + widget.size()) ? k : 0;
  };
  if (int k = index_after("sel"); k >= 1 && k <= 4) {
    down ? events_->selMouseDown(k, button, x, y) : events_->selMouseMove(k, x, y);
  } else if (int b = index_after("l_btn"); b >= 1 && b <= 13) {
    down ? events_->l_btnMouseDown(b, button, x, y) : events_->l_btnMouseMove(b, x, y);
  } else if (PanelOf(widget)) {
    if (!down) events_->bp_boxMouseMove(x, y);  // a press on a panel's background does nothing
  } else {
    down ? events_->cgMouseDown(button, x, y) : events_->cgMouseMove(x, y);
  }
}

bool HeadlessPlatform::PanelOf(const std::string& widget) const {
  auto is_panel = [](std::string_view n) { return n == "bp_box" || n == "item_box"; };
  auto it = by_name_.find(widget);
  return is_panel(widget) || (it != by_name_.end() && is_panel(it->second->layout().parent));
}

void HeadlessPlatform::Dispatch(Input& in) {
  switch (in.kind) {
    case Input::Kind::MouseDown: DispatchMouse(in.widget, true, in.button, in.x, in.y); break;
    case Input::Kind::MouseMove: DispatchMouse(in.widget, false, in.button, in.x, in.y); break;
    case Input::Kind::Key: events_->FormKeyDown(in.value); break;
    case Input::Kind::Wheel: events_->FormMouseWheel(in.value); break;
    case Input::Kind::ListSelect:
      if (Widget* w = FindWidget(in.widget)) w->SetItemIndex(in.value);
      events_->item_listClick();
      break;
    case Input::Kind::Text:
      if (Widget* w = FindWidget(in.widget)) w->SetText(in.text);
      break;
    case Input::Kind::Ticks: delay_ticks_ += in.value; break;
    case Input::Kind::Action:
      if (in.action) in.action();
      break;
    case Input::Kind::Close: CloseWindow(); break;
  }
}

void HeadlessPlatform::ProcessMessages() {
  if (closed_) return;
  FireTimerIfDue();
  if (closed_ || !events_ || delay_ticks_ > 0 || script_.empty()) return;
  Input in = std::move(script_.front());
  script_.pop_front();
  idle_ticks_ = 0;
  Dispatch(in);
}

void HeadlessPlatform::WaitMessage() {
  if (closed_) return;
  if (delay_ticks_ == 0 && script_.empty() && idle_handler_) idle_handler_();
  if (delay_ticks_ == 0 && !script_.empty()) return;  // input is ready now
  if (script_.empty() && delay_ticks_ == 0) {
    // Nothing will ever happen again: close the window so blocked scripts unwind.
    if (++idle_ticks_ > idle_close_ticks) {
      CloseWindow();
      return;
    }
  }
  now_ms_ = std::max(now_ms_, next_tick_ms_);
}
