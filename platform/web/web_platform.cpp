// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/web/web_platform.h"

#include <emscripten.h>

#include <algorithm>
#include <charconv>
#include <unordered_map>

#include "core/save.h"
#include "core/state.h"
#include "platform/bmp.h"
#include "platform/text.h"

// --- the page's side (pomurie-page.js) -------------------------------------------------

EM_JS(double, web_now, (), { return performance.now(); });
EM_JS(int, web_text_width, (const char* s, int px, int style),
      { return PomurieWeb.textWidth(UTF8ToString(s), px, style); });
EM_JS(int, web_text_mask, (const char* s, int px, int style, uint8_t* out, int w, int h),
      { return PomurieWeb.textMask(UTF8ToString(s), px, style, out, w, h); });
EM_JS(void, web_present, (const uint32_t* rgba, int w, int h), { PomurieWeb.present(rgba, w, h); });
EM_JS(void, web_place_input, (int x, int y, int w, int h, int px, int visible, int fg, int bg),
      { PomurieWeb.placeInput(x, y, w, h, px, visible, fg, bg); });
EM_JS(int, web_input_text, (char* buf, int size), { return stringToUTF8(PomurieWeb.inputText(), buf, size); });
EM_JS(void, web_input_set, (const char* s), { PomurieWeb.setInputText(UTF8ToString(s)); });
EM_JS(void, web_input_focus, (), { PomurieWeb.focusInput(); });
EM_JS(void, web_set_title, (const char* s), { document.title = UTF8ToString(s); });
EM_JS(int, web_fit_scale, (), { return PomurieWeb.fitScale(); });
EM_JS(void, web_set_scale, (int cap), { PomurieWeb.setScaleCap(cap); });
EM_JS(void, web_full_screen, (int on), { PomurieWeb.fullScreen(on); });
EM_JS(int, web_is_full_screen, (), { return document.fullscreenElement ? 1 : 0; });
EM_JS(void, web_dialog_open, (const char* s, int yes_no), { PomurieWeb.dialogOpen(UTF8ToString(s), yes_no); });
EM_JS(int, web_dialog_answer, (), { return PomurieWeb.dialogAnswer(); });
EM_JS(void, web_sync_files, (), { PomurieWeb.syncFiles(); });
EM_JS(void, web_tick_done, (double start, double cost), { PomurieWeb.tickDone(start, cost); });
EM_JS(void, web_snap_taken, (), { PomurieWeb.snapTaken(); });
EM_JS(void, web_closed, (), { PomurieWeb.closed(); });
EM_JS(int, web_file_state, (const char* path), { return PomurieWeb.fileState(UTF8ToString(path)); });
EM_JS(int, web_face_ready, (), { return PomurieWeb.faceState(); });

namespace {

constexpr int kSide = 300;
constexpr int kStyleBold = 1, kStyleItalic = 2;
// Canvas text is not rasterised in lockstep mode, as on the headless platform.
bool g_stand_in_text = false;

int StyleOf(bool bold, bool italic) { return (bold ? kStyleBold : 0) | (italic ? kStyleItalic : 0); }

// Widths and coverage masks of texts the game draws again and again (the status
// panel redraws dozens a tick): asking the browser costs far more than a lookup.
struct TextKey {
  std::string utf8;
  int px, style;
  bool operator==(const TextKey&) const = default;
};
struct TextKeyHash {
  size_t operator()(const TextKey& k) const { return std::hash<std::string>()(k.utf8) ^ (k.px * 131 + k.style); }
};
struct Mask {
  int width = 0, height = 0;
  std::vector<uint8_t> alpha;
};
std::unordered_map<TextKey, int, TextKeyHash> g_widths;
std::unordered_map<TextKey, Mask, TextKeyHash> g_masks;

// The page loads its face behind the start-up's files: text waits for it, since a
// width or mask taken in a stand-in face would be kept. Where no wait may start, the
// text is measured as the browser draws it then, and nothing of it is kept.
bool FaceReady() {
  static bool ready = false;
  while (!ready && !(ready = web_face_ready() != 0)) {
    const WebPlatform* p = WebPlatform::instance();
    if (!p || !p->MaySleep()) return false;
    emscripten_sleep(4);
  }
  return true;
}

int TextWidthPx(const std::string& utf8, int px, int style) {
  TextKey key{utf8, px, style};
  if (auto it = g_widths.find(key); it != g_widths.end()) return it->second;
  const bool keep = FaceReady();
  const int w = web_text_width(utf8.c_str(), px, style);
  if (!keep) return w;
  if (g_widths.size() > 20000) g_widths.clear();
  g_widths.emplace(std::move(key), w);
  return w;
}

const Mask& TextMask(const std::string& utf8, int px, int style) {
  TextKey key{utf8, px, style};
  if (auto it = g_masks.find(key); it != g_masks.end()) return it->second;
  const bool keep = FaceReady();
  Mask m;
  // Room for the descenders below the cell and a slanted or emboldened last glyph.
  m.width = TextWidthPx(utf8, px, style) + px / 2 + 2;
  m.height = px + px / 2 + 2;
  m.alpha.assign(static_cast<size_t>(m.width) * m.height, 0);
  web_text_mask(utf8.c_str(), px, style, m.alpha.data(), m.width, m.height);
  if (!keep) {
    static Mask passing;
    passing = std::move(m);
    return passing;
  }
  if (g_masks.size() > 4000) g_masks.clear();
  return g_masks.emplace(std::move(key), std::move(m)).first->second;
}

// Blends text whose cell's top-left is (x, y) onto 0xRRGGBB pixels, inside `clip`.
void BlendText(uint32_t* px, int width, int height, const Rect& clip, int x, int y, const std::string& utf8,
               int font_px, int style, Rgb color) {
  if (utf8.empty()) return;
  const Mask& m = TextMask(utf8, font_px, style);
  const int x0 = std::max({clip.left, x, 0}), x1 = std::min({clip.right, x + m.width, width});
  const int y0 = std::max({clip.top, y, 0}), y1 = std::min({clip.bottom, y + m.height, height});
  for (int yy = y0; yy < y1; ++yy) {
    const uint8_t* a = m.alpha.data() + static_cast<size_t>(yy - y) * m.width - x;
    uint32_t* row = px + static_cast<size_t>(yy) * width;
    for (int xx = x0; xx < x1; ++xx) {
      const unsigned k = a[xx];
      if (k == 0) continue;
      const uint32_t d = row[xx];
      auto mix = [&](int shift, unsigned c) {
        return ((c * k + ((d >> shift) & 255) * (255 - k) + 127) / 255) << shift;
      };
      row[xx] = (d & 0xFF000000u) | mix(16, color.r) | mix(8, color.g) | mix(0, color.b);
    }
  }
}

// Splits a caption at its line breaks ("\r\n" or "\n").
std::vector<std::string> Lines(const std::string& utf8) {
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
    if (utf8[i] == '\n') {
      lines.emplace_back();
    } else {
      lines.back() += utf8[i];
    }
  }
  return lines;
}

// Breaks a line into pieces no wider than `width`, between characters.
std::vector<std::string> Wrap(const std::string& line, int width, int px, int style) {
  std::vector<std::string> out(1);
  for (size_t i = 0; i < line.size();) {
    size_t n = 1;
    const auto c = static_cast<unsigned char>(line[i]);
    if (c >= 0xF0) n = 4;
    else if (c >= 0xE0) n = 3;
    else if (c >= 0xC0) n = 2;
    const std::string ch = line.substr(i, n);
    if (!out.back().empty() && TextWidthPx(out.back() + ch, px, style) > width) out.emplace_back();
    out.back() += ch;
    i += n;
  }
  return out;
}

int LineStep(int px) { return (px * 13 + 11) / 12; }

int IndexAfter(std::string_view name, std::string_view prefix, int max) {
  if (name.substr(0, prefix.size()) != prefix) return 0;
  int k = 0;
  auto [p, ec] = std::from_chars(name.data() + prefix.size(), name.data() + name.size(), k);
  return (ec == std::errc() && p == name.data() + name.size() && k >= 1 && k <= max) ? k : 0;
}

bool IsPanel(std::string_view name) { return name == "bp_box" || name == "item_box"; }

}  // namespace

// --- pictures ---------------------------------------------------------------------------

WebPicture::WebPicture(int width, int height) : SoftPicture(width, height), canvas_(*this) {}

int WebPicture::TextCanvas::TextWidth(std::string_view cp932) {
  if (g_stand_in_text) return SoftCanvas::TextWidth(cp932);
  return TextWidthPx(Cp932ToUtf8(cp932), FontPixelHeight(font.size), StyleOf(font.bold, font.italic));
}

int WebPicture::TextCanvas::TextHeight(std::string_view cp932) {
  if (g_stand_in_text) return SoftCanvas::TextHeight(cp932);
  return FontPixelHeight(font.size);
}

void WebPicture::TextCanvas::TextOut(int x, int y, std::string_view cp932) {
  if (g_stand_in_text) {
    SoftCanvas::TextOut(x, y, cp932);
    texts.clear();  // nobody reads the record here; it would only grow
    return;
  }
  const std::string utf8 = Cp932ToUtf8(cp932);
  const int px = FontPixelHeight(font.size);
  const int style = StyleOf(font.bold, font.italic);
  if (brush_style == BrushStyle::Solid) FillRect(Rect{x, y, x + TextWidthPx(utf8, px, style), y + px});
  BlendText(pic_.pixels().data(), pic_.Width(), pic_.Height(), Rect{0, 0, pic_.Width(), pic_.Height()}, x, y, utf8, px,
            style, font.color);
}

// --- widgets ----------------------------------------------------------------------------

class WebPlatform::WebWidget : public Widget {
 public:
  WebWidget(WebPlatform& owner, const WidgetSpec& layout) : owner_(owner), layout_(layout) {
    if (layout_.kind == WidgetKind::Image) {
      if (!layout_.picture_path.empty()) {
        std::unique_ptr<Picture> loaded = owner.LoadPicture(layout_.picture_path);
        picture_.reset(static_cast<WebPicture*>(loaded.release()));
      }
      if (!picture_) picture_ = std::make_unique<WebPicture>(std::max(1, layout_.width), std::max(1, layout_.height));
    }
  }
  const std::string& Name() const override { return layout_.name; }
  void SetVisible(bool visible) override {
    if (visible != layout_.visible) owner_.dirty_ = true;
    layout_.visible = visible;
  }
  bool Visible() const override { return layout_.visible; }
  void SetBounds(int left, int top, int width, int height) override {
    layout_.left = left;
    layout_.top = top;
    layout_.width = width;
    layout_.height = height;
    owner_.dirty_ = true;
  }
  Rect Bounds() const override {
    return Rect{layout_.left, layout_.top, layout_.left + layout_.width, layout_.top + layout_.height};
  }
  void BringToFront() override { owner_.Raise(this); }
  void SetCaption(const std::string& cp932) override {
    if (cp932 == layout_.caption) return;
    layout_.caption = cp932;
    owner_.dirty_ = true;
  }
  std::string Caption() const override { return layout_.caption; }
  void SetFontColor(Rgb color) override {
    if (color == layout_.font_color) return;
    layout_.font_color = color;
    owner_.dirty_ = true;
  }
  Picture* picture() override { return picture_.get(); }
  void Refresh() override { owner_.dirty_ = true; }
  void SetItems(const std::vector<std::string>& items) override {
    items_ = items;
    if (index_ >= static_cast<int>(items_.size())) index_ = -1;
    top_ = std::clamp(top_, 0, std::max(0, static_cast<int>(items_.size()) - 1));
    owner_.dirty_ = true;
  }
  int ItemIndex() const override { return index_; }
  void SetItemIndex(int index) override {
    index_ = (index >= 0 && index < static_cast<int>(items_.size())) ? index : -1;
    // Keep the selection in view.
    if (index_ >= 0 && index_ < top_) top_ = index_;
    if (index_ >= 0 && index_ >= top_ + Rows()) top_ = index_ - Rows() + 1;
    owner_.dirty_ = true;
  }
  std::string Text() const override {
    if (layout_.kind != WidgetKind::TextField) return layout_.caption;
    char buf[1024];
    web_input_text(buf, sizeof buf);
    return J(buf);
  }
  void SetText(const std::string& cp932) override {
    layout_.caption = cp932;
    if (layout_.kind == WidgetKind::TextField) web_input_set(Cp932ToUtf8(cp932).c_str());
  }
  void SetFocus() override {
    if (layout_.kind == WidgetKind::TextField) web_input_focus();
  }

  const WidgetSpec& layout() const { return layout_; }
  WebPicture* web_picture() { return picture_.get(); }
  const std::vector<std::string>& items() const { return items_; }
  int RowHeight() const { return layout_.font_px + 4; }
  int Rows() const { return std::max(1, layout_.height / RowHeight()); }
  int top() const { return top_; }
  void Scroll(int rows) {
    top_ = std::clamp(top_ + rows, 0, std::max(0, static_cast<int>(items_.size()) - Rows()));
    owner_.dirty_ = true;
  }

 private:
  WebPlatform& owner_;
  WidgetSpec layout_;
  std::unique_ptr<WebPicture> picture_;
  std::vector<std::string> items_;
  int index_ = -1;
  int top_ = 0;  // list boxes: the first entry in view
};

// --- the platform ------------------------------------------------------------------------

WebPlatform* WebPlatform::instance_ = nullptr;

WebPlatform::WebPlatform(bool lockstep) : lockstep_(lockstep), frame_(kSide * kSide, 0xFF000000u) {
  instance_ = this;
  g_stand_in_text = lockstep;
  next_tick_ms_ = NowMs() + interval_ms_;
}

WebPlatform::~WebPlatform() {
  audio_.Close();
  instance_ = nullptr;
}

WaveOut& WebPlatform::Audio() { return lockstep_ ? static_cast<WaveOut&>(fake_audio_) : audio_; }

int64_t WebPlatform::NowMs() const {
  if (lockstep_) return virtual_ms_;
  // Wall-clock milliseconds: the game stamps its play record with them.
  return static_cast<int64_t>(emscripten_get_now() + EM_ASM_DOUBLE({ return performance.timeOrigin; }));
}

std::unique_ptr<Picture> WebPlatform::CreatePicture(int width, int height) {
  return std::make_unique<WebPicture>(width, height);
}

std::unique_ptr<Picture> WebPlatform::LoadPicture(const std::string& path) {
  AwaitGameFile(path);
  auto img = ReadBmpFile(path);
  if (!img || img->width <= 0 || img->height <= 0) return nullptr;
  auto pic = std::make_unique<WebPicture>(img->width, img->height);
  pic->pixels() = std::move(img->pixels);
  return pic;
}

Widget& WebPlatform::CreateWidget(const WidgetSpec& layout) {
  widgets_.push_back(std::make_unique<WebWidget>(*this, layout));
  WebWidget* w = widgets_.back().get();
  by_name_[layout.name] = w;
  dirty_ = true;
  return *w;
}

Widget* WebPlatform::FindWidget(std::string_view name) {
  auto it = by_name_.find(name);
  return it == by_name_.end() ? nullptr : it->second;
}

void WebPlatform::Raise(WebWidget* w) {
  auto it = std::find_if(widgets_.begin(), widgets_.end(), [&](const auto& p) { return p.get() == w; });
  if (it == widgets_.end()) return;
  std::rotate(it, it + 1, widgets_.end());
  dirty_ = true;
}

std::vector<WebPlatform::WebWidget*> WebPlatform::ChildrenOf(const WebWidget* parent) const {
  std::vector<WebWidget*> out;
  const std::string& name = parent ? parent->Name() : std::string();
  for (const auto& w : widgets_) {
    if (w.get() != parent && w->layout().parent == name) out.push_back(w.get());
  }
  return out;
}

void WebPlatform::SetWindowTitle(const std::string& cp932) { web_set_title(Cp932ToUtf8(cp932).c_str()); }

void WebPlatform::SetWindowIcon(const std::string&) {}  // the page's icon is its favicon

void WebPlatform::ShowWindow() {
  shown_ = true;
  dirty_ = true;
  Present();
}

void WebPlatform::CloseWindow() {
  if (closed_ || closing_) return;
  closing_ = true;
  if (events_) events_->FormClose();
  closed_ = true;
  web_closed();
}

// The page fits the picture by the largest whole factor; + and - (once the page is
// shown) cap it, so a player can still choose a smaller picture.
void WebPlatform::SetWindowScale(int scale) {
  if (!shown_) return;
  scale_ = std::clamp(scale, 1, 4);
  web_set_scale(scale_);
}

int WebPlatform::WindowScale() const { return std::clamp(std::min(scale_, web_fit_scale()), 1, 4); }

void WebPlatform::SetFullScreen(bool on) { web_full_screen(on ? 1 : 0); }

bool WebPlatform::FullScreen() const { return web_is_full_screen() != 0; }

void WebPlatform::FilesWritten() { web_sync_files(); }

void WebPlatform::AwaitGameFile(const std::string& path) {
  if (all_files_) return;
  // 0: there (or never to be made), 1: still being made, 2: every file is made.
  for (int state; (state = web_file_state(path.c_str())) != 0;) {
    if (state == 2) {
      all_files_ = true;
      return;
    }
    // Inside the page's call the read goes ahead and finds no file: a sound missed.
    if (!MaySleep()) return;
    emscripten_sleep(4);
  }
}

void WebPlatform::Suspend() {
  if (closed_ || stopped_ || !events_) return;
  // Called from the page's event while the game sleeps in WaitMessage, as a desktop
  // dispatches its events there; any other moment (a dialog, a tick) waits for the
  // next loop. The save's writes stay in memory, so nothing here sleeps.
  if (!waiting_) {
    suspend_pending_ = true;
    return;
  }
  ++page_calls_;
  events_->FormSuspend();
  --page_calls_;
}

void WebPlatform::TakePendingSuspend() {
  if (!suspend_pending_ || closed_ || stopped_ || !events_ || in_timer_) return;
  suspend_pending_ = false;
  events_->FormSuspend();
}

void WebPlatform::Push(const WebInput& in) {
  if (in.kind == WebInput::Kind::Move && !queue_.empty() && queue_.back().kind == WebInput::Kind::Move) {
    queue_.back() = in;  // only the latest position matters
    return;
  }
  queue_.push_back(in);
}

void WebPlatform::FireTimerIfDue() {
  const int64_t now = NowMs();
  if (now < next_tick_ms_) return;
  next_tick_ms_ = now + interval_ms_;
  if (lockstep_) fake_audio_.AdvanceTo(now);
  if (!timer_enabled_ || !events_ || in_timer_ || closed_) return;
  if (lockstep_ && delay_ticks_ > 0) --delay_ticks_;
  const double start = web_now();
  in_timer_ = true;
  events_->Timer1Timer();
  in_timer_ = false;
  dirty_ = true;
  Present();
  web_tick_done(start, web_now() - start);
}

void WebPlatform::ProcessMessages() {
  if (closed_) return;
  TakePendingSuspend();
  if (stopped_) {
    emscripten_sleep(250);  // under the page's cover, until the tab is closed
    return;
  }
  FireTimerIfDue();
  if (!lockstep_) {
    audio_.ReportDone();
    // Everything the page has delivered; a handler may itself wait and come back here.
    while (!queue_.empty() && !closed_ && events_) {
      const WebInput in = queue_.front();
      queue_.pop_front();
      Dispatch(in);
    }
  } else if (!closed_ && events_ && delay_ticks_ == 0 && !queue_.empty()) {
    // One input per call, as the headless platform takes its script.
    const WebInput in = queue_.front();
    queue_.pop_front();
    Dispatch(in);
  }
  Present();
}

void WebPlatform::WaitMessage() {
  if (closed_) return;
  TakePendingSuspend();
  if (stopped_) {
    emscripten_sleep(250);
    return;
  }
  Present();
  if (lockstep_) {
    if (delay_ticks_ == 0 && !queue_.empty()) return;
    if (delay_ticks_ > 0) {
      virtual_ms_ = std::max(virtual_ms_, next_tick_ms_);
      return;
    }
    // The script has run dry: time stands still until the test sends more.
    waiting_ = true;
    while (queue_.empty() && !closed_) emscripten_sleep(5);
    waiting_ = false;
    return;
  }
  waiting_ = true;
  while (!closed_ && queue_.empty()) {
    const int64_t left = next_tick_ms_ - NowMs();
    if (left <= 0) break;
    emscripten_sleep(static_cast<unsigned>(std::min<int64_t>(left, 8)));
    audio_.ReportDone();
  }
  waiting_ = false;
}

void WebPlatform::Dispatch(const WebInput& in) {
  switch (in.kind) {
    case WebInput::Kind::Down:
    case WebInput::Kind::Move: DispatchMouse(in); break;
    case WebInput::Kind::Key:
      if (WebWidget* list = by_name_.count("item_list") ? by_name_.find("item_list")->second : nullptr;
          list && in.value >= vk::kLeft && in.value <= vk::kDown && list->Visible()) {
        // Cursor keys move the list's selection, as on a focused desktop list.
        const int step = (in.value == vk::kUp || in.value == vk::kLeft) ? -1 : 1;
        const int n = static_cast<int>(list->items().size());
        if (n > 0) {
          list->SetItemIndex(std::clamp(list->ItemIndex() + step, 0, n - 1));
          events_->item_listClick();
        }
        events_->item_listKeyDown(in.value);
        break;
      }
      events_->FormKeyDown(in.value);
      break;
    case WebInput::Kind::Wheel: {
      int wx = 0, wy = 0;
      WebWidget* w = HitTest(nullptr, in.x, in.y, 0, 0, &wx, &wy);
      if (w && w->layout().kind == WidgetKind::ListBox) {
        w->Scroll(-in.value * 3);
      } else {
        events_->FormMouseWheel(in.value);
      }
      break;
    }
    case WebInput::Kind::Ticks: delay_ticks_ += in.value; break;
    case WebInput::Kind::Snap:
      dirty_ = true;
      Present();
      web_snap_taken();
      break;
  }
  dirty_ = true;
}

// The topmost visible widget under (x, y) among the children of `parent`, whose
// top-left is at (ox, oy); its own coordinates of the point in *wx, *wy.
WebPlatform::WebWidget* WebPlatform::HitTest(WebWidget* parent, int x, int y, int ox, int oy, int* wx, int* wy) {
  const std::vector<WebWidget*> children = ChildrenOf(parent);
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    WebWidget* w = *it;
    const Rect b = w->Bounds();
    const int lx = x - ox - b.left, ly = y - oy - b.top;
    if (!w->Visible() || lx < 0 || ly < 0 || lx >= b.Width() || ly >= b.Height()) continue;
    if (WebWidget* inner = HitTest(w, x, y, ox + b.left, oy + b.top, wx, wy)) return inner;
    *wx = lx;
    *wy = ly;
    return w;
  }
  return nullptr;
}

void WebPlatform::DispatchMouse(const WebInput& in) {
  const bool down = in.kind == WebInput::Kind::Down;
  int x = in.x, y = in.y;
  WebWidget* w = HitTest(nullptr, in.x, in.y, 0, 0, &x, &y);
  const std::string name = w ? w->Name() : std::string("cg");
  if (!w) {
    x = in.x;
    y = in.y;
  }
  if (int k = IndexAfter(name, "sel", 4)) {
    down ? events_->selMouseDown(k, in.button, x, y) : events_->selMouseMove(k, x, y);
  } else if (int b = IndexAfter(name, "l_btn", 13)) {
    down ? events_->l_btnMouseDown(b, in.button, x, y) : events_->l_btnMouseMove(b, x, y);
  } else if (w && w->layout().kind == WidgetKind::ListBox) {
    if (!down || in.button != MouseButton::Left) return;
    const int row = w->top() + y / w->RowHeight();
    if (row < static_cast<int>(w->items().size())) {
      w->SetItemIndex(row);
      events_->item_listClick();
    }
  } else if (w && w->layout().kind == WidgetKind::TextField) {
    if (down) w->SetFocus();
  } else if (w && (IsPanel(name) || IsPanel(w->layout().parent))) {
    if (!down) events_->bp_boxMouseMove(x, y);  // a press on a panel's background does nothing
  } else {
    // The picture, or anything else on it: the press lands on cg.
    down ? events_->cgMouseDown(in.button, in.x, in.y) : events_->cgMouseMove(in.x, in.y);
  }
}

int WebPlatform::RunDialog(const std::string& cp932, bool yes_no) {
  if (lockstep_) return 0;  // answered "no" at once, as the headless platform does
  if (page_calls_ > 0) {
    // A message from inside the page's call (a save that failed on hide) cannot wait
    // for its answer: it stays shown, and a question counts as answered "no".
    web_dialog_open(Cp932ToUtf8(cp932).c_str(), 0);
    return 0;
  }
  in_dialog_ = true;
  web_dialog_open(Cp932ToUtf8(cp932).c_str(), yes_no ? 1 : 0);
  int answer;
  // The timer keeps drawing behind the dialog, as behind a desktop message box, and
  // a hide saves here as the desktop's close does during one.
  while ((answer = web_dialog_answer()) < 0 && !closed_) {
    waiting_ = true;
    emscripten_sleep(10);
    waiting_ = false;
    if (stopped_) continue;
    FireTimerIfDue();
    audio_.ReportDone();
  }
  in_dialog_ = false;
  return answer;
}

bool WebPlatform::AskYesNo(const std::string& cp932) { return RunDialog(cp932, true) == 1; }

void WebPlatform::ShowMessage(const std::string& cp932) { RunDialog(cp932, false); }

int WebPlatform::WidgetOrigin(std::string_view name) {
  int x = 0, y = 0;
  for (auto it = by_name_.find(name); it != by_name_.end(); it = by_name_.find(it->second->layout().parent)) {
    if (!it->second->Visible()) return -1;
    x += it->second->layout().left;
    y += it->second->layout().top;
    if (it->second->layout().parent.empty()) return x * 65536 + y;
  }
  return -1;
}

// --- drawing the window ---------------------------------------------------------------

void WebPlatform::Compose(WebWidget& w, int ox, int oy) {
  if (!w.Visible()) return;
  const WidgetSpec& s = w.layout();
  const Rect b{ox + s.left, oy + s.top, ox + s.left + s.width, oy + s.top + s.height};
  const Rect clip{std::max(b.left, 0), std::max(b.top, 0), std::min(b.right, kSide), std::min(b.bottom, kSide)};
  uint32_t* px = frame_.data();
  auto fill = [&](const Rect& r, Rgb c) {
    for (int y = std::max(r.top, clip.top); y < std::min(r.bottom, clip.bottom); ++y)
      for (int x = std::max(r.left, clip.left); x < std::min(r.right, clip.right); ++x) px[y * kSide + x] = c.Packed();
  };
  const int style = StyleOf(s.bold, false);
  switch (s.kind) {
    case WidgetKind::Image: {
      WebPicture* pic = w.web_picture();
      const int pw = pic->Width(), ph = pic->Height();
      const bool scaled = s.stretch && (pw != s.width || ph != s.height);
      const std::vector<uint32_t>& src = pic->pixels();
      for (int y = clip.top; y < clip.bottom; ++y) {
        const int sy = scaled ? (y - b.top) * ph / std::max(1, s.height) : y - b.top;
        if (sy < 0 || sy >= ph) continue;
        for (int x = clip.left; x < clip.right; ++x) {
          const int sx = scaled ? (x - b.left) * pw / std::max(1, s.width) : x - b.left;
          if (sx >= 0 && sx < pw) px[y * kSide + x] = src[static_cast<size_t>(sy) * pw + sx];
        }
      }
      break;
    }
    case WidgetKind::Panel: fill(b, s.background); break;
    case WidgetKind::Label: {
      // A label tall enough for several lines wraps; text that would still be cut is
      // drawn smaller until it stands whole, as on the desktop.
      const std::string text = Cp932ToUtf8(s.caption);
      const bool wrap = s.height >= 2 * s.font_px + 2;
      std::vector<std::string> lines;
      int font_px = s.font_px;
      for (; font_px >= std::max(1, s.font_px * 2 / 3); --font_px) {
        lines.clear();
        for (const std::string& line : Lines(text)) {
          if (!wrap) {
            lines.push_back(line);
            continue;
          }
          for (std::string& piece : Wrap(line, s.width, font_px, style)) lines.push_back(std::move(piece));
        }
        bool fits = static_cast<int>(lines.size()) * LineStep(font_px) <= s.height + LineStep(font_px) - font_px;
        for (const std::string& line : lines) fits = fits && TextWidthPx(line, font_px, style) <= s.width;
        if (fits) break;
      }
      font_px = std::max(font_px, std::max(1, s.font_px * 2 / 3));
      for (size_t i = 0; i < lines.size(); ++i)
        BlendText(px, kSide, kSide, clip, b.left, b.top + static_cast<int>(i) * LineStep(font_px), lines[i], font_px,
                  style, s.font_color);
      break;
    }
    case WidgetKind::ListBox: {
      fill(b, s.background);
      const int rh = w.RowHeight();
      for (int i = w.top(); i < static_cast<int>(w.items().size()) && (i - w.top()) * rh < s.height; ++i) {
        const int y = b.top + (i - w.top()) * rh;
        Rgb fg = s.font_color;
        if (i == w.ItemIndex()) {
          fill(Rect{b.left, y, b.right, y + rh}, Rgb(48, 96, 200));
          fg = colors::kWhite;
        }
        BlendText(px, kSide, kSide, Rect{clip.left, std::max(clip.top, y), clip.right, std::min(clip.bottom, y + rh)},
                  b.left + 2, y + 2, Cp932ToUtf8(w.items()[i]), s.font_px, style, fg);
      }
      break;
    }
    case WidgetKind::TextField:
      fill(b, s.background);  // the page's <input> lies over it
      break;
    case WidgetKind::HitArea: break;
  }
  for (WebWidget* child : ChildrenOf(&w)) Compose(*child, b.left, b.top);
}

void WebPlatform::Present() {
  if (!dirty_ || !shown_) return;
  dirty_ = false;
  std::fill(frame_.begin(), frame_.end(), 0);
  for (WebWidget* w : ChildrenOf(nullptr)) Compose(*w, 0, 0);
  // The name field: where it is shown (if at all) in the picture's pixels.
  if (auto it = by_name_.find("name_l"); it != by_name_.end()) {
    WebWidget* f = it->second;
    bool visible = true;
    int x = 0, y = 0;
    for (WebWidget* w = f; w; w = w->layout().parent.empty() ? nullptr : by_name_[w->layout().parent]) {
      visible = visible && w->Visible();
      x += w->layout().left;
      y += w->layout().top;
    }
    const WidgetSpec& s = f->layout();
    web_place_input(x, y, s.width, s.height, s.font_px, visible, static_cast<int>(s.font_color.Packed()),
                    static_cast<int>(s.background.Packed()));
  }
  // 0xRRGGBB to the RGBA bytes of ImageData (a little-endian 0xAABBGGRR).
  for (uint32_t& p : frame_) p = 0xFF000000u | ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
  web_present(frame_.data(), kSide, kSide);
}

// --- entry points for the page -------------------------------------------------------------

extern "C" {

EMSCRIPTEN_KEEPALIVE void pomurie_mouse(int down, int button, int x, int y) {
  if (WebPlatform* p = WebPlatform::instance()) {
    WebInput in{down ? WebInput::Kind::Down : WebInput::Kind::Move, x, y, 0,
                button == 2   ? MouseButton::Right
                : button == 1 ? MouseButton::Middle
                              : MouseButton::Left};
    p->Push(in);
  }
}

EMSCRIPTEN_KEEPALIVE void pomurie_key(int vk) {
  if (WebPlatform* p = WebPlatform::instance()) p->Push(WebInput{WebInput::Kind::Key, 0, 0, vk});
}

EMSCRIPTEN_KEEPALIVE void pomurie_wheel(int steps, int x, int y) {
  if (WebPlatform* p = WebPlatform::instance()) p->Push(WebInput{WebInput::Kind::Wheel, x, y, steps});
}

EMSCRIPTEN_KEEPALIVE void pomurie_control(int held) {
  if (WebPlatform* p = WebPlatform::instance()) p->SetControlHeld(held != 0);
}

EMSCRIPTEN_KEEPALIVE void pomurie_suspend() {
  if (WebPlatform* p = WebPlatform::instance()) p->Suspend();
}

EMSCRIPTEN_KEEPALIVE void pomurie_stop() {
  if (WebPlatform* p = WebPlatform::instance()) p->Stop();
}

// 1 when the bytes read as a save, by the same check the game's start-up makes.
EMSCRIPTEN_KEEPALIVE int pomurie_check_save(const char* bytes, int size) {
  if (size <= 0) return 0;  // nothing at all is no save, whatever the reader makes of it
  auto scratch = std::make_unique<GameState>();
  return ParseSaveData(*scratch, std::string_view(bytes, static_cast<size_t>(size))) ? 1 : 0;
}

// Lockstep: let n ticks pass before the next input; take a snapshot of the page.
EMSCRIPTEN_KEEPALIVE void pomurie_ticks(int n) {
  if (WebPlatform* p = WebPlatform::instance()) p->Push(WebInput{WebInput::Kind::Ticks, 0, 0, n});
}

// Lockstep: inputs and ticks not yet taken (the test waits for none before it acts).
EMSCRIPTEN_KEEPALIVE int pomurie_pending() {
  WebPlatform* p = WebPlatform::instance();
  return p ? p->Pending() : 0;
}

// Where a widget's top-left is in the picture (x * 65536 + y), -1 when it is not shown.
EMSCRIPTEN_KEEPALIVE int pomurie_widget_origin(const char* name) {
  WebPlatform* p = WebPlatform::instance();
  return p ? p->WidgetOrigin(name) : -1;
}

EMSCRIPTEN_KEEPALIVE void pomurie_snap() {
  if (WebPlatform* p = WebPlatform::instance()) p->Push(WebInput{WebInput::Kind::Snap});
}

}  // extern "C"
