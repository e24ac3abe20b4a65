#pragma once
// A region as a list of non-overlapping rectangles sorted into horizontal bands (top to
// bottom, left to right within a band): enough for clipping, update regions and the region
// calls programs make.

#include <vector>

#include "win32.h"

namespace vel::platform {

class Region {
 public:
  Region() = default;
  /// A region covering one rectangle (empty if the rectangle is).
  explicit Region(const RECT& rect);

  /// Combines two regions with RGN_AND, RGN_OR, RGN_XOR or RGN_DIFF (RGN_COPY copies `a`).
  static Region Combine(const Region& a, const Region& b, int mode);

  bool IsEmpty() const { return m_rects.empty(); }
  const std::vector<RECT>& Rects() const { return m_rects; }
  /// The smallest rectangle holding the region ({0,0,0,0} when empty).
  RECT Bounds() const;
  /// NULLREGION, SIMPLEREGION or COMPLEXREGION.
  int Complexity() const;
  bool Contains(int x, int y) const;
  /// True when any part of `rect` lies inside the region.
  bool Overlaps(const RECT& rect) const;
  void Offset(int dx, int dy);
  /// Keeps only the part inside `rect`.
  void IntersectWith(const RECT& rect);
  bool operator==(const Region& other) const;

 private:
  std::vector<RECT> m_rects;
};

/// True when the rectangle has no area.
inline bool IsEmptyRect(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
/// The overlap of two rectangles (empty rectangles come back as {0,0,0,0}).
RECT IntersectRects(const RECT& a, const RECT& b);
/// A rectangle with left <= right and top <= bottom.
RECT NormalisedRect(const RECT& r);

}  // namespace vel::platform
