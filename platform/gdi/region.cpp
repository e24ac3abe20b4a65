#include "platform/gdi/region.h"

#include <algorithm>

namespace vel::platform {
namespace {

struct Span {
  LONG left;
  LONG right;
};

// The x-spans a region covers within the band [top, bottom), which lies inside one of its
// own bands because the band edges of both operands are used to cut.
std::vector<Span> SpansIn(const std::vector<RECT>& rects, LONG top, LONG bottom) {
  std::vector<Span> spans;
  for (const RECT& r : rects) {
    if (r.top <= top && r.bottom >= bottom) spans.push_back({r.left, r.right});
  }
  return spans;
}

bool Apply(bool inA, bool inB, int mode) {
  switch (mode) {
    case RGN_AND: return inA && inB;
    case RGN_OR: return inA || inB;
    case RGN_XOR: return inA != inB;
    case RGN_DIFF: return inA && !inB;
    default: return inA;
  }
}

// Combines the spans of one band by sweeping over every x edge of both.
std::vector<Span> CombineSpans(const std::vector<Span>& a, const std::vector<Span>& b, int mode) {
  std::vector<LONG> edges;
  for (const Span& s : a) edges.insert(edges.end(), {s.left, s.right});
  for (const Span& s : b) edges.insert(edges.end(), {s.left, s.right});
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  auto covered = [](const std::vector<Span>& spans, LONG x) {
    return std::any_of(spans.begin(), spans.end(), [x](const Span& s) { return s.left <= x && x < s.right; });
  };
  std::vector<Span> out;
  for (size_t i = 0; i + 1 < edges.size(); ++i) {
    if (!Apply(covered(a, edges[i]), covered(b, edges[i]), mode)) continue;
    if (!out.empty() && out.back().right == edges[i]) {
      out.back().right = edges[i + 1];
    } else {
      out.push_back({edges[i], edges[i + 1]});
    }
  }
  return out;
}

}  // namespace

RECT IntersectRects(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (IsEmptyRect(r)) return RECT{0, 0, 0, 0};
  return r;
}

RECT NormalisedRect(const RECT& r) {
  return RECT{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
              std::max(r.top, r.bottom)};
}

Region::Region(const RECT& rect) {
  if (!IsEmptyRect(rect)) m_rects.push_back(rect);
}

Region Region::Combine(const Region& a, const Region& b, int mode) {
  if (mode == RGN_COPY) return a;
  std::vector<LONG> ys;
  for (const RECT& r : a.m_rects) ys.insert(ys.end(), {r.top, r.bottom});
  for (const RECT& r : b.m_rects) ys.insert(ys.end(), {r.top, r.bottom});
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

  Region result;
  std::vector<Span> previous;
  size_t previousStart = 0;
  LONG previousBottom = 0;
  for (size_t i = 0; i + 1 < ys.size(); ++i) {
    LONG top = ys[i];
    LONG bottom = ys[i + 1];
    std::vector<Span> spans = CombineSpans(SpansIn(a.m_rects, top, bottom), SpansIn(b.m_rects, top, bottom), mode);
    bool sameAsAbove = previousBottom == top && !spans.empty() && spans.size() == previous.size() &&
                       std::equal(spans.begin(), spans.end(), previous.begin(), [](const Span& x, const Span& y) {
                         return x.left == y.left && x.right == y.right;
                       });
    if (sameAsAbove) {
      // Identical bands that touch merge into one, which keeps rectangle lists short.
      for (size_t k = previousStart; k < result.m_rects.size(); ++k) result.m_rects[k].bottom = bottom;
    } else {
      previousStart = result.m_rects.size();
      for (const Span& s : spans) result.m_rects.push_back(RECT{s.left, top, s.right, bottom});
    }
    previous = std::move(spans);
    previousBottom = bottom;
  }
  return result;
}

RECT Region::Bounds() const {
  if (m_rects.empty()) return RECT{0, 0, 0, 0};
  RECT b = m_rects.front();
  for (const RECT& r : m_rects) {
    b.left = std::min(b.left, r.left);
    b.top = std::min(b.top, r.top);
    b.right = std::max(b.right, r.right);
    b.bottom = std::max(b.bottom, r.bottom);
  }
  return b;
}

int Region::Complexity() const {
  if (m_rects.empty()) return NULLREGION;
  return m_rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

bool Region::Contains(int x, int y) const {
  return std::any_of(m_rects.begin(), m_rects.end(),
                     [x, y](const RECT& r) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; });
}

bool Region::Overlaps(const RECT& rect) const {
  RECT n = NormalisedRect(rect);
  return std::any_of(m_rects.begin(), m_rects.end(), [&n](const RECT& r) { return !IsEmptyRect(IntersectRects(r, n)); });
}

void Region::Offset(int dx, int dy) {
  for (RECT& r : m_rects) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
  }
}

void Region::IntersectWith(const RECT& rect) {
  std::vector<RECT> kept;
  for (const RECT& r : m_rects) {
    RECT i = IntersectRects(r, rect);
    if (!IsEmptyRect(i)) kept.push_back(i);
  }
  m_rects = std::move(kept);
}

bool Region::operator==(const Region& other) const {
  // Equal areas may be cut into rectangles differently, so compare what is left of each.
  return Combine(*this, other, RGN_XOR).IsEmpty();
}

}  // namespace vel::platform
