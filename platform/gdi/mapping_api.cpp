// Mapping modes: window and viewport origins and extents, and point conversion.

#include <cmath>
#include <cstdlib>

#include "platform/gdi/device_context.h"

using namespace vel::platform;

namespace {

// In MM_ISOTROPIC one logical unit is as wide as it is high: the viewport extent shrinks on
// the axis that would otherwise be stretched more.
void FixIsotropic(DcState& s) {
  if (s.mapMode != MM_ISOTROPIC || s.windowExt.cx == 0 || s.windowExt.cy == 0) return;
  double scaleX = std::abs(static_cast<double>(s.viewportExt.cx) / s.windowExt.cx);
  double scaleY = std::abs(static_cast<double>(s.viewportExt.cy) / s.windowExt.cy);
  if (scaleX > scaleY) {
    long cx = std::lround(std::abs(s.windowExt.cx) * scaleY);
    s.viewportExt.cx = s.viewportExt.cx < 0 ? -cx : cx;
  } else if (scaleY > scaleX) {
    long cy = std::lround(std::abs(s.windowExt.cy) * scaleX);
    s.viewportExt.cy = s.viewportExt.cy < 0 ? -cy : cy;
  }
}

template <typename Apply>
BOOL Change(HDC hdc, Apply apply) {
  auto dc = LookupDc(hdc);
  if (!dc) return FALSE;
  return apply(dc->m_state);
}

BOOL ConvertPoints(HDC hdc, LPPOINT points, int count, bool toDevice) {
  auto dc = LookupDc(hdc);
  if (!dc || (points == nullptr && count > 0) || count < 0) return FALSE;
  for (int i = 0; i < count; ++i) {
    points[i] = toDevice ? dc->ToDevice(points[i].x, points[i].y) : dc->ToLogical(points[i].x, points[i].y);
  }
  return TRUE;
}

}  // namespace

int WINAPI SetMapMode(HDC hdc, int iMode) {
  auto dc = LookupDc(hdc);
  if (!dc || (iMode != MM_TEXT && iMode != MM_ISOTROPIC && iMode != MM_ANISOTROPIC)) return 0;
  DcState& s = dc->m_state;
  int previous = s.mapMode;
  s.mapMode = iMode;
  if (iMode == MM_TEXT) {
    s.windowExt = SIZE{1, 1};
    s.viewportExt = SIZE{1, 1};
  }
  FixIsotropic(s);
  return previous;
}

int WINAPI GetMapMode(HDC hdc) {
  auto dc = LookupDc(hdc);
  return dc ? dc->m_state.mapMode : 0;
}

BOOL WINAPI SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
  return Change(hdc, [&](DcState& s) {
    if (lppt != nullptr) *lppt = s.windowOrg;
    s.windowOrg = POINT{x, y};
    return TRUE;
  });
}

BOOL WINAPI SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
  return Change(hdc, [&](DcState& s) {
    if (lppt != nullptr) *lppt = s.viewportOrg;
    s.viewportOrg = POINT{x, y};
    return TRUE;
  });
}

BOOL WINAPI OffsetWindowOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
  return Change(hdc, [&](DcState& s) {
    if (lppt != nullptr) *lppt = s.windowOrg;
    s.windowOrg = POINT{s.windowOrg.x + x, s.windowOrg.y + y};
    return TRUE;
  });
}

BOOL WINAPI OffsetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
  return Change(hdc, [&](DcState& s) {
    if (lppt != nullptr) *lppt = s.viewportOrg;
    s.viewportOrg = POINT{s.viewportOrg.x + x, s.viewportOrg.y + y};
    return TRUE;
  });
}

BOOL WINAPI SetWindowExtEx(HDC hdc, int x, int y, LPSIZE lpsz) {
  return Change(hdc, [&](DcState& s) {
    if (lpsz != nullptr) *lpsz = s.windowExt;
    // Extents only mean something in the scalable modes; MM_TEXT keeps 1:1.
    if (s.mapMode != MM_ISOTROPIC && s.mapMode != MM_ANISOTROPIC) return TRUE;
    if (x == 0 || y == 0) return FALSE;
    s.windowExt = SIZE{x, y};
    FixIsotropic(s);
    return TRUE;
  });
}

BOOL WINAPI SetViewportExtEx(HDC hdc, int x, int y, LPSIZE lpsz) {
  return Change(hdc, [&](DcState& s) {
    if (lpsz != nullptr) *lpsz = s.viewportExt;
    if (s.mapMode != MM_ISOTROPIC && s.mapMode != MM_ANISOTROPIC) return TRUE;
    if (x == 0 || y == 0) return FALSE;
    s.viewportExt = SIZE{x, y};
    FixIsotropic(s);
    return TRUE;
  });
}

BOOL WINAPI GetWindowOrgEx(HDC hdc, LPPOINT lppoint) {
  return Change(hdc, [&](DcState& s) {
    if (lppoint == nullptr) return FALSE;
    *lppoint = s.windowOrg;
    return TRUE;
  });
}

BOOL WINAPI GetWindowExtEx(HDC hdc, LPSIZE lpsize) {
  return Change(hdc, [&](DcState& s) {
    if (lpsize == nullptr) return FALSE;
    *lpsize = s.windowExt;
    return TRUE;
  });
}

BOOL WINAPI GetViewportOrgEx(HDC hdc, LPPOINT lppoint) {
  return Change(hdc, [&](DcState& s) {
    if (lppoint == nullptr) return FALSE;
    *lppoint = s.viewportOrg;
    return TRUE;
  });
}

BOOL WINAPI GetViewportExtEx(HDC hdc, LPSIZE lpsize) {
  return Change(hdc, [&](DcState& s) {
    if (lpsize == nullptr) return FALSE;
    *lpsize = s.viewportExt;
    return TRUE;
  });
}

BOOL WINAPI LPtoDP(HDC hdc, LPPOINT lppt, int c) { return ConvertPoints(hdc, lppt, c, true); }
BOOL WINAPI DPtoLP(HDC hdc, LPPOINT lppt, int c) { return ConvertPoints(hdc, lppt, c, false); }
