#include "viewer/drawing.h"

#include <algorithm>
#include <cmath>

namespace tavisnap {
namespace {

constexpr int kBpp = Picture::kBytesPerPixel;

// A closed range of x on one row, in pixel-centre coordinates; empty when lo > hi.
struct Span {
  double lo = 1;
  double hi = 0;
  bool Empty() const { return lo > hi; }
};

Span Hull(Span a, Span b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  return {std::min(a.lo, b.lo), std::max(a.hi, b.hi)};
}

// Up to two disjoint spans: an outline's row is the outer span less an open hole.
struct RowSpans {
  Span parts[2];
};

RowSpans OuterLessHole(Span outer, double holeLo, double holeHi) {
  if (outer.Empty() || holeLo >= holeHi) return {{outer, Span{}}};
  return {{Span{outer.lo, std::min(outer.hi, holeLo)}, Span{std::max(outer.lo, holeHi), outer.hi}}};
}

// The row of a disc of radius r around (cx, cy).
Span DiscRow(double cx, double cy, double r, double y) {
  double dy = y - cy;
  if (std::abs(dy) > r) return {};
  double half = std::sqrt(r * r - dy * dy);
  return {cx - half, cx + half};
}

// The row of the convex quadrilateral q[0..3] (in order around it).
Span QuadRow(const double (&qx)[4], const double (&qy)[4], double y) {
  Span s;
  for (int i = 0; i < 4; ++i) {
    double ax = qx[i], ay = qy[i], bx = qx[(i + 1) % 4], by = qy[(i + 1) % 4];
    if (y < std::min(ay, by) || y > std::max(ay, by)) continue;
    if (ay == by) {
      s = Hull(s, Span{std::min(ax, bx), std::max(ax, bx)});
    } else {
      double x = ax + (y - ay) * (bx - ax) / (by - ay);
      s = Hull(s, Span{x, x});
    }
  }
  return s;
}

// Every figure as "the spans of row y" plus the rows it can touch.
class Outline {
 public:
  virtual ~Outline() = default;
  virtual RowSpans Row(double y) const = 0;
  double top = 0, bottom = -1;  // the rows it can touch, pixel-centre coordinates
};

// All points within r of the segment: the segment's band and a disc at each end.
class LineOutline : public Outline {
 public:
  LineOutline(PixelPoint a, PixelPoint b, double r)
      : ax_(a.x), ay_(a.y), bx_(b.x), by_(b.y), r_(r) {
    double dx = bx_ - ax_, dy = by_ - ay_, length = std::hypot(dx, dy);
    double nx = -dy / length * r, ny = dx / length * r;
    double qx[4] = {ax_ + nx, bx_ + nx, bx_ - nx, ax_ - nx};
    double qy[4] = {ay_ + ny, by_ + ny, by_ - ny, ay_ - ny};
    std::copy(qx, qx + 4, qx_);
    std::copy(qy, qy + 4, qy_);
    top = std::min(ay_, by_) - r;
    bottom = std::max(ay_, by_) + r;
  }
  RowSpans Row(double y) const override {
    Span s = Hull(DiscRow(ax_, ay_, r_, y), DiscRow(bx_, by_, r_, y));
    return {{Hull(s, QuadRow(qx_, qy_, y)), Span{}}};
  }

 private:
  double ax_, ay_, bx_, by_, r_;
  double qx_[4], qy_[4];
};

// All points within r of the rectangle's border [x0, x1] x [y0, y1] (round corners outside).
class RectangleOutline : public Outline {
 public:
  RectangleOutline(double x0, double y0, double x1, double y1, double r)
      : x0_(x0), y0_(y0), x1_(x1), y1_(y1), r_(r) {
    top = y0 - r;
    bottom = y1 + r;
  }
  RowSpans Row(double y) const override {
    double dy = y < y0_ ? y0_ - y : y > y1_ ? y - y1_ : 0;
    if (dy > r_) return {};
    double half = std::sqrt(r_ * r_ - dy * dy);
    Span outer{x0_ - half, x1_ + half};
    bool inHole = y > y0_ + r_ && y < y1_ - r_;
    return inHole ? OuterLessHole(outer, x0_ + r_, x1_ - r_) : RowSpans{{outer, Span{}}};
  }

 private:
  double x0_, y0_, x1_, y1_, r_;
};

// The ring between the ellipses with semi-axes a + r, b + r and a - r, b - r.
class EllipseOutline : public Outline {
 public:
  EllipseOutline(double x0, double y0, double x1, double y1, double r)
      : cx_((x0 + x1) / 2), cy_((y0 + y1) / 2), a_((x1 - x0) / 2), b_((y1 - y0) / 2), r_(r) {
    top = y0 - r;
    bottom = y1 + r;
  }
  RowSpans Row(double y) const override {
    double dy = y - cy_;
    Span outer = Half(a_ + r_, b_ + r_, dy);
    if (outer.Empty()) return {};
    double ia = a_ - r_, ib = b_ - r_;
    if (ia <= 0 || ib <= 0 || std::abs(dy) >= ib) return {{outer, Span{}}};
    Span hole = Half(ia, ib, dy);
    return OuterLessHole(outer, hole.lo, hole.hi);
  }

 private:
  Span Half(double a, double b, double dy) const {
    double t = dy / b;
    if (std::abs(t) > 1) return {};
    double half = a * std::sqrt(1 - t * t);
    return {cx_ - half, cx_ + half};
  }
  double cx_, cy_, a_, b_, r_;
};

void InvertPixels(uint8_t* p, int count) {
  for (int i = 0; i < count * kBpp; ++i) p[i] = static_cast<uint8_t>(~p[i]);
}

void PaintPixels(uint8_t* p, int count, Rgb c) {
  for (int i = 0; i < count; ++i, p += kBpp) {
    p[0] = c.b;
    p[1] = c.g;
    p[2] = c.r;
  }
}

// Clamps first (a coordinate can be ~2^31 away), then converts.
int ClampToInt(double v, int lo, int hi) {
  if (!(v >= lo)) return lo;  // also NaN
  if (v > hi) return hi;
  return static_cast<int>(v);
}

PixelRect Apply(Picture& picture, const Outline& outline, PenMode mode, Rgb colour) {
  const int w = picture.Width();
  const int h = picture.Height();
  PixelRect changed{w, h, 0, 0};
  if (w == 0 || h == 0) return {};
  const int rowFirst = ClampToInt(std::ceil(outline.top), 0, h);
  const int rowLast = ClampToInt(std::floor(outline.bottom), -1, h - 1);
  for (int y = rowFirst; y <= rowLast; ++y) {
    RowSpans spans = outline.Row(y);
    for (const Span& s : spans.parts) {
      if (s.Empty()) continue;
      const int x0 = ClampToInt(std::ceil(s.lo), 0, w);
      const int x1 = ClampToInt(std::floor(s.hi), -1, w - 1);
      if (x0 > x1) continue;
      uint8_t* p = picture.Row(y) + static_cast<size_t>(x0) * kBpp;
      if (mode == PenMode::Invert) {
        InvertPixels(p, x1 - x0 + 1);
      } else {
        PaintPixels(p, x1 - x0 + 1, colour);
      }
      changed.left = std::min(changed.left, x0);
      changed.right = std::max(changed.right, x1 + 1);
      changed.top = std::min(changed.top, y);
      changed.bottom = std::max(changed.bottom, y + 1);
    }
  }
  return changed.Empty() ? PixelRect{} : changed;
}

}  // namespace

PixelRect DrawShape(Picture& picture, Shape shape, PixelPoint from, PixelPoint to, int penWidth,
                    PenMode mode, Rgb colour) {
  const double r = penWidth / 2.0;
  if (shape == Shape::Line) {
    if (from == to) return {};
    return Apply(picture, LineOutline(from, to, r), mode, colour);
  }
  // The rectangle's last column and row are right - 1 and bottom - 1 (64 bits: a span of
  // two extreme coordinates does not fit 32).
  const int64_t left = std::min(from.x, to.x), right = std::max(from.x, to.x);
  const int64_t top = std::min(from.y, to.y), bottom = std::max(from.y, to.y);
  if (right == left || bottom == top) return {};
  const double x0 = static_cast<double>(left), x1 = static_cast<double>(right - 1);
  const double y0 = static_cast<double>(top), y1 = static_cast<double>(bottom - 1);
  if (shape == Shape::Rectangle) {
    return Apply(picture, RectangleOutline(x0, y0, x1, y1, r), mode, colour);
  }
  return Apply(picture, EllipseOutline(x0, y0, x1, y1, r), mode, colour);
}

PixelRect DrawPlusDot(Picture& picture, PixelPoint at, Rgb colour) {
  const int64_t offsets[5][2] = {{0, 0}, {-1, 0}, {1, 0}, {0, -1}, {0, 1}};
  PixelRect changed{picture.Width(), picture.Height(), 0, 0};
  for (const auto& d : offsets) {
    const int64_t x = int64_t{at.x} + d[0], y = int64_t{at.y} + d[1];
    if (x < 0 || y < 0 || x >= picture.Width() || y >= picture.Height()) continue;
    picture.SetPixel(static_cast<int>(x), static_cast<int>(y), colour);
    changed.left = std::min<int>(changed.left, static_cast<int>(x));
    changed.right = std::max<int>(changed.right, static_cast<int>(x) + 1);
    changed.top = std::min<int>(changed.top, static_cast<int>(y));
    changed.bottom = std::max<int>(changed.bottom, static_cast<int>(y) + 1);
  }
  return changed.Empty() ? PixelRect{} : changed;
}

}  // namespace tavisnap
