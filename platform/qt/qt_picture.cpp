// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_picture.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <tuple>

#include "platform/text.h"

namespace {

QColor ToQ(Rgb c) { return QColor(c.r, c.g, c.b); }

// A painter set up for pixel-exact drawing on the picture.
class ExactPainter : public QPainter {
 public:
  explicit ExactPainter(QImage* image) : QPainter(image) {
    setRenderHint(QPainter::Antialiasing, false);
    setRenderHint(QPainter::SmoothPixmapTransform, false);
  }
};

// dst |= src over n pixels, four at a time (the overlay is combined every tick).
void OrRow(uint32_t* dst, const uint32_t* src, int n) {
  typedef uint32_t Quad __attribute__((vector_size(16)));
  int x = 0;
  for (; x + 4 <= n; x += 4) {
    Quad a, b;
    std::memcpy(&a, dst + x, sizeof a);
    std::memcpy(&b, src + x, sizeof b);
    a |= b;
    std::memcpy(dst + x, &a, sizeof a);
  }
  for (; x < n; ++x) dst[x] |= src[x];
}

}  // namespace

QtFontEntry& QtFontFor(int size, bool bold, bool italic) {
  // The status panel switches fonts dozens of times per tick; resolving a QFont and
  // its metrics each time would dominate the frame.
  // Never destroyed at exit: fonts must not outlive the application, and a static
  // may be torn down after it; the post routine empties the cache in time instead.
  static auto& cache = *new std::map<std::tuple<int, bool, bool>, std::unique_ptr<QtFontEntry>>;
  static bool cleanup_registered = false;
  if (!cleanup_registered) {
    // Fonts and laid-out texts must go while the application still exists.
    qAddPostRoutine([] { cache.clear(); });
    cleanup_registered = true;
  }
  auto key = std::make_tuple(size, bold, italic);
  auto it = cache.find(key);
  if (it != cache.end()) return *it->second;
  QFont f(kQtFace);
  f.setPixelSize(std::max(1, FontPixelHeight(std::max(1, size))));
  f.setBold(bold);
  f.setItalic(italic);
  f.setStyleStrategy(QFont::StyleStrategy(QFont::NoSubpixelAntialias | QFont::PreferQuality));
  f.setHintingPreference(QFont::PreferFullHinting);
  QFontMetrics m(f);
  // The text cell is the font's pixel height, as on the desktop the game was laid out
  // for (size 9 is 12 pixels); the face's descent may reach a pixel below it.
  auto entry = std::unique_ptr<QtFontEntry>(new QtFontEntry{f, m, m.ascent(), f.pixelSize(), {}});
  return *cache.emplace(key, std::move(entry)).first->second;
}

const QtLaidOutText& QtFontEntry::Layout(std::string_view cp932) {
  std::string key(cp932);
  auto it = texts.find(key);
  if (it != texts.end()) return it->second;
  if (texts.size() >= 2048) texts.clear();  // changing figures must not grow it forever
  const QString s = QtText(cp932);
  QStaticText st(s);
  st.setTextFormat(Qt::PlainText);  // "<毒>" is text, not markup
  st.setPerformanceHint(QStaticText::AggressiveCaching);
  st.prepare(QTransform(), font);
  return texts.emplace(std::move(key), QtLaidOutText{st, metrics.horizontalAdvance(s)}).first->second;
}

QFont QtWidgetFont(int px, bool bold) {
  QFont f(kQtFace);
  f.setPixelSize(std::max(1, px));
  f.setBold(bold);
  f.setStyleStrategy(QFont::NoSubpixelAntialias);
  return f;
}

QString QtText(std::string_view cp932) {
  std::string utf8 = Cp932ToUtf8(cp932);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// ---------------------------------------------------------------------------------
// QtPicture

QtPicture::QtPicture(int width, int height)
    : image_(std::max(0, width), std::max(0, height), QImage::Format_RGB32), canvas_(*this) {
  image_.fill(Qt::black);
}

QtPicture::QtPicture(QImage image) : image_(image.convertToFormat(QImage::Format_RGB32)), canvas_(*this) {}

Rgb QtPicture::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return colors::kBlack;
  return Rgb::FromPacked(image_.pixel(x, y) & 0xFFFFFF);
}

const QImage& QtPicture::TransparentImage() const {
  if (transparent_generation_ == generation_ && !transparent_.isNull()) return transparent_;
  transparent_ = QImage(image_.size(), QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < image_.height(); ++y) {
    auto* src = reinterpret_cast<const uint32_t*>(image_.constScanLine(y));
    auto* dst = reinterpret_cast<uint32_t*>(transparent_.scanLine(y));
    for (int x = 0; x < image_.width(); ++x) {
      uint32_t rgb = src[x] & 0xFFFFFF;
      dst[x] = rgb == 0 ? 0u : (0xFF000000u | rgb);
    }
  }
  transparent_generation_ = generation_;
  return transparent_;
}

QImage QtImageOf(const Picture& pic) {
  if (auto* q = dynamic_cast<const QtPicture*>(&pic)) return q->image();
  QImage img(pic.Width(), pic.Height(), QImage::Format_RGB32);
  for (int y = 0; y < pic.Height(); ++y) {
    auto* row = reinterpret_cast<uint32_t*>(img.scanLine(y));
    for (int x = 0; x < pic.Width(); ++x) row[x] = 0xFF000000u | pic.Pixel(x, y).Packed();
  }
  return img;
}

// ---------------------------------------------------------------------------------
// QtCanvas

int QtCanvas::Width() const { return pic_.Width(); }
int QtCanvas::Height() const { return pic_.Height(); }

PixelTarget QtCanvas::Target() {
  QImage& img = pic_.mutable_image();
  pic_.Touch();
  return PixelTarget{reinterpret_cast<uint32_t*>(img.bits()), img.width(), img.height(),
                     static_cast<ptrdiff_t>(img.bytesPerLine() / 4), 0xFF000000u};
}

ShapeStyle QtCanvas::Style() const {
  ShapeStyle s{pen_color, pen_width, std::nullopt};
  if (brush_style == BrushStyle::Solid) s.brush = brush_color;
  return s;
}

// Shapes are rasterised by our own code, exactly as on the headless canvas: QPainter's
// aliased ellipses and wide pens differ by a pixel here and there, and setting up a
// painter per shape costs more than drawing the shape.
void QtCanvas::FillRect(const Rect& r) {
  // Like the headless canvas, a fill uses the brush colour whatever its style.
  RasterFill(Target(), r.left, r.top, r.right, r.bottom, brush_color);
}

void QtCanvas::Rectangle(int x1, int y1, int x2, int y2) { RasterRectangle(Target(), x1, y1, x2, y2, Style()); }

void QtCanvas::Ellipse(int x1, int y1, int x2, int y2) { RasterEllipse(Target(), x1, y1, x2, y2, Style()); }

void QtCanvas::Polygon(const std::vector<Point>& points) { RasterPolygon(Target(), points, Style()); }

void QtCanvas::Line(int x1, int y1, int x2, int y2) { RasterLine(Target(), x1, y1, x2, y2, pen_color, pen_width); }

void QtCanvas::TextOut(int x, int y, std::string_view cp932) {
  if (cp932.empty()) return;
  QtFontEntry& f = QtFontFor(font.size, font.bold, font.italic);
  const QtLaidOutText& t = f.Layout(cp932);
  if (brush_style == BrushStyle::Solid) RasterFill(Target(), x, y, x + t.width, y + f.height, brush_color);
  QPainter p(&pic_.mutable_image());
  p.setFont(f.font);
  p.setPen(ToQ(font.color));
  // A static text is placed by the top of its line, whose baseline is the font's ascent.
  p.drawStaticText(QPointF(x, y), t.text);
  pic_.Touch();
}

int QtCanvas::TextWidth(std::string_view cp932) {
  if (cp932.empty()) return 0;
  return QtFontFor(font.size, font.bold, font.italic).Layout(cp932).width;
}

int QtCanvas::TextHeight(std::string_view) { return QtFontFor(font.size, font.bold, font.italic).height; }

void QtCanvas::CopyRect(const Rect& dst, const Picture& src, const Rect& src_rect, CopyMode mode) {
  if (dst.Width() <= 0 || dst.Height() <= 0 || src_rect.Width() <= 0 || src_rect.Height() <= 0) return;
  QRect d(dst.left, dst.top, dst.Width(), dst.Height());
  QRect s(src_rect.left, src_rect.top, src_rect.Width(), src_rect.Height());
  const QRect bounds(0, 0, src.Width(), src.Height());
  if (d.size() == s.size()) {
    // Only the part of the source that exists is copied; the rest of dst is untouched.
    const QRect clipped = s.intersected(bounds);
    if (clipped.isEmpty()) return;
    d = QRect(d.topLeft() + (clipped.topLeft() - s.topLeft()), clipped.size());
    s = clipped;
  }
  QImage source;
  const QImage* from;
  if (&src == &pic_) {
    source = pic_.image().copy(s);  // copying onto itself: take the source first
    s = source.rect();
    from = &source;
  } else if (auto* q = dynamic_cast<const QtPicture*>(&src)) {
    from = &q->image();
  } else {
    source = QtImageOf(src);
    from = &source;
  }
  QImage& img = pic_.mutable_image();
  if (d.size() == s.size()) {
    // Same size: plain rows, far faster than the painter's raster operation.
    const QRect target = d.intersected(img.rect());
    if (target.isEmpty()) return;
    const QPoint shift = s.topLeft() - d.topLeft();
    const int n = target.width();
    for (int y = target.top(); y <= target.bottom(); ++y) {
      auto* out = reinterpret_cast<uint32_t*>(img.scanLine(y)) + target.left();
      auto* in = reinterpret_cast<const uint32_t*>(from->constScanLine(y + shift.y())) + target.left() + shift.x();
      if (mode == CopyMode::Or) {
        OrRow(out, in, n);
      } else {
        std::memcpy(out, in, sizeof(uint32_t) * static_cast<size_t>(n));
      }
    }
  } else {
    ExactPainter p(&img);
    p.setCompositionMode(mode == CopyMode::Or ? QPainter::RasterOp_SourceOrDestination
                                              : QPainter::CompositionMode_Source);
    p.drawImage(d, *from, s);
  }
  pic_.Touch();
}

void QtCanvas::StretchDrawTransparent(const Rect& dst, const Picture& src) {
  if (dst.Width() <= 0 || dst.Height() <= 0 || src.Width() <= 0 || src.Height() <= 0) return;
  QImage foreign;
  const QImage* from;
  if (auto* q = dynamic_cast<const QtPicture*>(&src)) {
    from = &q->TransparentImage();
  } else {
    foreign = QtPicture(QtImageOf(src)).TransparentImage();
    from = &foreign;
  }
  ExactPainter p(&pic_.mutable_image());
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p.drawImage(QRect(dst.left, dst.top, dst.Width(), dst.Height()), *from);
  pic_.Touch();
}
