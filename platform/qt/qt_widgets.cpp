// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_widgets.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>

#include <charconv>

#include "platform/qt/qt_keys.h"
#include "platform/qt/qt_platform.h"
#include "platform/text.h"

namespace {

// "sel" + 1..4 or "l_btn" + 1..13, exactly.
int NumberAfter(std::string_view name, std::string_view prefix, int max) {
  if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) return 0;
  std::string_view digits = name.substr(prefix.size());
  if (digits[0] == '0') return 0;
  int k = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), k);
  if (ec != std::errc() || end != digits.data() + digits.size() || k < 1 || k > max) return 0;
  return k;
}

MouseButton ButtonOf(const QMouseEvent* e) {
  switch (e->button()) {
    case Qt::RightButton: return MouseButton::Right;
    case Qt::MiddleButton: return MouseButton::Middle;
    default: return MouseButton::Left;
  }
}

QColor ToQ(Rgb c) { return QColor(c.r, c.g, c.b); }

QString Multiline(std::string_view cp932) {
  QString s = QtText(cp932);
  // A lone carriage return starts a new line too (the recipe column is built that way).
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QChar('\r'), QChar('\n'));
  return s;
}

// An image widget shows its picture, at its top-left or scaled to the widget; an
// enlarged window shows every picture pixel as a sharp square (no smoothing).
class ImageView : public QWidget {
 public:
  ImageView(QWidget* parent, QtPicture* picture, bool stretch)
      : QWidget(parent), picture_(picture), stretch_(stretch) {}
  void SetScale(int scale) { scale_ = scale; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (stretch_) {
      p.drawImage(rect(), picture_->image());
    } else {
      p.scale(scale_, scale_);
      p.drawImage(0, 0, picture_->image());
    }
  }

 private:
  QtPicture* picture_;
  bool stretch_;
  int scale_ = 1;
};

// A label the game uses as a button (l_btn1..l_btn13): reachable by Tab and the
// arrows, pressed by Enter. Taking the focus lights it up as the mouse would, and
// a dotted frame shows where the keyboard is.
class ButtonLabel : public QLabel {
 public:
  ButtonLabel(QWidget* parent, QtPlatform& platform, MouseRoute route)
      : QLabel(parent), platform_(platform), route_(route) {
    setFocusPolicy(Qt::TabFocus);
  }

 protected:
  void paintEvent(QPaintEvent* e) override {
    QLabel::paintEvent(e);
    if (!hasFocus()) return;
    QPainter p(this);
    p.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
  void focusInEvent(QFocusEvent* e) override {
    QLabel::focusInEvent(e);
    platform_.DeliverMouseMove(route_, 0, 0);
    update();
  }
  void focusOutEvent(QFocusEvent* e) override {
    QLabel::focusOutEvent(e);
    update();
  }
  void keyPressEvent(QKeyEvent* e) override {
    switch (e->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter: platform_.DeliverMouseDown(route_, MouseButton::Left, 0, 0); return;
      case Qt::Key_Up:
      case Qt::Key_Left: focusPreviousChild(); return;
      case Qt::Key_Down:
      case Qt::Key_Right: focusNextChild(); return;
      default: QLabel::keyPressEvent(e);  // on to the window's keys
    }
  }

 private:
  QtPlatform& platform_;
  MouseRoute route_;
};

// Mouse presses (double clicks count as presses, as the desktop reports a second
// press either way) and moves of a routed widget go to the game's handlers; other
// widgets swallow them, so a press on a panel never turns into a press on cg.
class MouseFilter : public QObject {
 public:
  MouseFilter(QObject* parent, QtPlatform& platform, MouseRoute route)
      : QObject(parent), platform_(platform), route_(route) {}

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    switch (e->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick: {
        auto* me = static_cast<QMouseEvent*>(e);
        const QPoint pos = PicturePixel(me);
        e->accept();  // handled here: never passed on to the parent
        platform_.DeliverMouseDown(route_, ButtonOf(me), pos.x(), pos.y());
        return true;
      }
      case QEvent::MouseMove: {
        const QPoint pos = PicturePixel(static_cast<QMouseEvent*>(e));
        e->accept();
        platform_.DeliverMouseMove(route_, pos.x(), pos.y());
        return true;
      }
      case QEvent::MouseButtonRelease: e->accept(); return true;
      default: return false;
    }
  }

  // The position in the picture's own pixels, whatever the window's scale.
  QPoint PicturePixel(const QMouseEvent* me) const {
    const QPoint pos = me->position().toPoint();
    const int s = platform_.ShownScale();
    return QPoint(pos.x() < 0 ? -1 : pos.x() / s, pos.y() < 0 ? -1 : pos.y() / s);
  }

 private:
  QtPlatform& platform_;
  MouseRoute route_;
};

// Keys on a focused list or text field. The window's key handler still sees the
// keys the game reacts to everywhere; a text field keeps every other key for typing.
class KeyFilter : public QObject {
 public:
  KeyFilter(QObject* parent, QtPlatform& platform, bool text_field)
      : QObject(parent), platform_(platform), text_field_(text_field) {}

 protected:
  bool eventFilter(QObject* target, QEvent* e) override {
    if (e->type() != QEvent::KeyPress) return false;
    const int vk = QtKeyToVk(static_cast<QKeyEvent*>(e)->key());
    if (vk == 0) return false;
    if (text_field_ && vk != 13 && vk != 112) return false;
    platform_.DeliverFormKey(vk);
    if (!text_field_) {
      if (GameEvents* ev = platform_.events()) ev->item_listKeyDown(vk);
    }
    // The widget still handles the key (the list moves its selection), but a key it
    // ignores must not travel on to the window and arrive a second time.
    target->event(e);  // QObject::event is public and dispatches to the widget
    e->accept();
    return true;
  }

 private:
  QtPlatform& platform_;
  bool text_field_;
};

}  // namespace

MouseRoute MouseRouteFor(std::string_view name, std::string_view parent) {
  if (name == "cg") return {MouseRoute::Cg, 0};
  if (int k = NumberAfter(name, "sel", 4)) return {MouseRoute::Sel, k};
  if (int k = NumberAfter(name, "l_btn", 13)) return {MouseRoute::LBtn, k};
  auto is_panel = [](std::string_view n) { return n == "bp_box" || n == "item_box"; };
  if (is_panel(name) || is_panel(parent)) return {MouseRoute::Panel, 0};
  return {};
}

QtWidget::QtWidget(QtPlatform& platform, const WidgetSpec& layout, QWidget* parent)
    : platform_(platform),
      name_(layout.name),
      kind_(layout.kind),
      caption_(layout.caption),
      bounds_{layout.left, layout.top, layout.left + layout.width, layout.top + layout.height},
      font_px_(layout.font_px),
      bold_(layout.bold) {
  QPalette pal;
  switch (kind_) {
    case WidgetKind::Image: {
      if (!layout.picture_path.empty()) {
        std::unique_ptr<Picture> loaded = platform.LoadPicture(layout.picture_path);
        picture_.reset(static_cast<QtPicture*>(loaded.release()));
      }
      if (!picture_) picture_ = std::make_unique<QtPicture>(std::max(1, layout.width), std::max(1, layout.height));
      widget_ = new ImageView(parent, picture_.get(), layout.stretch);
      break;
    }
    case WidgetKind::HitArea: widget_ = new QWidget(parent); break;
    case WidgetKind::Label: {
      const MouseRoute route = MouseRouteFor(name_, layout.parent);
      label_ = route.kind == MouseRoute::LBtn ? new ButtonLabel(parent, platform, route) : new QLabel(parent);
      widget_ = label_;
      label_->setTextFormat(Qt::PlainText);  // captions like "<毒>" are not markup
      label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      // A label tall enough for several lines wraps its text, as the detail texts need.
      label_->setWordWrap(layout.height >= 2 * layout.font_px + 2);
      label_->setAutoFillBackground(false);
      label_->setText(Multiline(caption_));
      FitLabelFont();
      SetFontColor(layout.font_color);
      break;
    }
    case WidgetKind::Panel: {
      auto* frame = new QFrame(parent);
      frame->setFrameShape(QFrame::NoFrame);
      frame->setAutoFillBackground(true);
      pal = frame->palette();
      pal.setColor(QPalette::Window, ToQ(layout.background));
      frame->setPalette(pal);
      widget_ = frame;
      break;
    }
    case WidgetKind::ListBox: {
      list_ = new QListWidget(parent);
      widget_ = list_;
      list_->setFont(QtWidgetFont(layout.font_px, layout.bold));
      list_->setSelectionMode(QAbstractItemView::SingleSelection);
      list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
      pal = list_->palette();
      pal.setColor(QPalette::Base, ToQ(layout.background));
      pal.setColor(QPalette::Text, ToQ(layout.font_color));
      list_->setPalette(pal);
      list_->installEventFilter(new KeyFilter(list_, platform, false));
      // A press resets the "already reported" mark; a press that changes the selection
      // is reported through currentRowChanged, one on the selected entry by `pressed`.
      struct PressWatch : QObject {
        explicit PressWatch(QtWidget* w) : QObject(nullptr), w_(w) {}
        bool eventFilter(QObject*, QEvent* e) override {
          if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick) {
            // A press below the last entry would clear the highlight while the game keeps
            // the entry chosen (and uses it): it does nothing instead.
            const QPoint pos = static_cast<QMouseEvent*>(e)->position().toPoint();
            if (!w_->list_->indexAt(pos).isValid()) return true;
            w_->reported_since_press_ = false;
          }
          return false;
        }
        QtWidget* w_;
      };
      auto* watch = new PressWatch(this);
      watch->setParent(list_);
      list_->viewport()->installEventFilter(watch);
      QObject::connect(list_, &QListWidget::currentRowChanged, list_, [this](int row) {
        if (programmatic_ || row < 0) return;
        reported_since_press_ = true;
        if (GameEvents* ev = platform_.events()) ev->item_listClick();
      });
      QObject::connect(list_, &QListWidget::pressed, list_, [this](const QModelIndex&) {
        if (programmatic_ || reported_since_press_) return;
        reported_since_press_ = true;
        if (GameEvents* ev = platform_.events()) ev->item_listClick();
      });
      SetItems({});
      break;
    }
    case WidgetKind::TextField: {
      edit_ = new QLineEdit(parent);
      widget_ = edit_;
      edit_->setFont(QtWidgetFont(layout.font_px, layout.bold));
      edit_->setAttribute(Qt::WA_InputMethodEnabled, true);  // names are typed through the IME
      pal = edit_->palette();
      pal.setColor(QPalette::Base, ToQ(layout.background));
      pal.setColor(QPalette::Text, ToQ(layout.font_color));
      edit_->setPalette(pal);
      edit_->setText(Multiline(caption_));
      edit_->installEventFilter(new KeyFilter(edit_, platform, true));
      break;
    }
  }
  if (kind_ == WidgetKind::Image || kind_ == WidgetKind::HitArea || kind_ == WidgetKind::Label ||
      kind_ == WidgetKind::Panel) {
    // Moves must arrive with no button held (the choice buttons light up on hover).
    widget_->setMouseTracking(true);
    widget_->installEventFilter(new MouseFilter(widget_, platform, MouseRouteFor(name_, layout.parent)));
  }
  widget_->setGeometry(layout.left, layout.top, layout.width, layout.height);
  widget_->setVisible(layout.visible);
}

QtWidget::~QtWidget() = default;

void QtWidget::SetVisible(bool visible) {
  QWidget* focus = QApplication::focusWidget();
  widget_->setVisible(visible);
  // A hidden panel must not keep the keyboard: its keys go back to the window.
  if (!visible && focus && (focus == widget_ || widget_->isAncestorOf(focus))) {
    platform_.window()->setFocus(Qt::OtherFocusReason);
  }
}

bool QtWidget::Visible() const { return !widget_->isHidden(); }

void QtWidget::SetBounds(int left, int top, int width, int height) {
  bounds_ = Rect{left, top, left + width, top + height};
  widget_->setGeometry(left * scale_, top * scale_, width * scale_, height * scale_);
  FitLabelFont();
}

Rect QtWidget::Bounds() const { return bounds_; }

void QtWidget::ApplyScale(int scale) {
  scale_ = scale;
  SetBounds(bounds_.left, bounds_.top, bounds_.right - bounds_.left, bounds_.bottom - bounds_.top);
  if (list_ || edit_) widget_->setFont(QtWidgetFont(font_px_ * scale, bold_));
  FitLabelFont();
  if (kind_ == WidgetKind::Image) static_cast<ImageView*>(widget_)->SetScale(scale);
  widget_->update();
}

void QtWidget::BringToFront() { widget_->raise(); }

void QtWidget::SetCaption(const std::string& cp932) {
  caption_ = cp932;
  if (!label_) return;
  label_->setText(Multiline(cp932));
  FitLabelFont();
}

// A label's box is fixed, its text is not (a product name can take three lines of the
// cooking column, an ingredient name more than the column's width). Text that would
// be cut at the label's own font is narrowed, then made smaller, until it stands whole.
void QtWidget::FitLabelFont() {
  if (!label_) return;
  const int width = (bounds_.right - bounds_.left) * scale_;
  const int height = (bounds_.bottom - bounds_.top) * scale_;
  auto fits = [&](const QFont& f) {
    label_->setFont(f);
    if (label_->wordWrap()) return label_->heightForWidth(width) <= height;
    return label_->sizeHint().width() <= width;
  };
  QFont f = QtWidgetFont(font_px_ * scale_, bold_);
  if (label_->text().isEmpty() || fits(f)) return;
  constexpr int kNarrowest = 70;  // per cent of the face's width: still easy to read
  for (int stretch = 95; stretch >= kNarrowest; stretch -= 5) {
    f.setStretch(stretch);
    if (fits(f)) return;
  }
  for (int px = font_px_ * scale_ - 1; px >= std::max(1, font_px_ * scale_ * 2 / 3); --px) {
    f.setPixelSize(px);
    if (fits(f)) return;
  }
}

void QtWidget::SetFontColor(Rgb color) {
  QWidget* w = widget_;
  QPalette pal = w->palette();
  pal.setColor(label_ ? QPalette::WindowText : QPalette::Text, ToQ(color));
  w->setPalette(pal);
}

void QtWidget::Refresh() { widget_->update(); }

void QtWidget::RepaintIfChanged() {
  if (!picture_ || picture_->generation() == shown_generation_) return;
  shown_generation_ = picture_->generation();
  if (!widget_->isHidden()) widget_->update();
}

void QtWidget::SetItems(const std::vector<std::string>& cp932_items) {
  if (!list_) return;
  programmatic_ = true;
  list_->clear();
  for (const std::string& item : cp932_items) list_->addItem(QtText(item));
  programmatic_ = false;
}

int QtWidget::ItemIndex() const { return list_ ? list_->currentRow() : -1; }

void QtWidget::SetItemIndex(int index) {
  if (!list_) return;
  programmatic_ = true;
  if (index < 0 || index >= list_->count()) {
    list_->setCurrentRow(-1);
    list_->clearSelection();
  } else {
    list_->setCurrentRow(index);
  }
  programmatic_ = false;
}

std::string QtWidget::Text() const {
  if (!edit_) return caption_;
  // The yen sign is how the byte 0x5C is shown; it goes back as that byte.
  QString s = edit_->text();
  s.replace(QChar(0x00A5), QChar('\\'));
  return J(s.toStdString());
}

void QtWidget::SetText(const std::string& cp932) {
  if (edit_) {
    edit_->setText(QtText(cp932));
  } else {
    SetCaption(cp932);
  }
}

void QtWidget::SetFocus() { widget_->setFocus(Qt::OtherFocusReason); }
