// Rectangle arithmetic.

#include <algorithm>

#include "win32.h"

BOOL WINAPI SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom) {
  if (lprc == nullptr) return FALSE;
  *lprc = {xLeft, yTop, xRight, yBottom};
  return TRUE;
}

BOOL WINAPI SetRectEmpty(LPRECT lprc) { return SetRect(lprc, 0, 0, 0, 0); }

BOOL WINAPI CopyRect(LPRECT lprcDst, const RECT* lprcSrc) {
  if (lprcDst == nullptr || lprcSrc == nullptr) return FALSE;
  *lprcDst = *lprcSrc;
  return TRUE;
}

BOOL WINAPI IsRectEmpty(const RECT* lprc) {
  return lprc == nullptr || lprc->right <= lprc->left || lprc->bottom <= lprc->top;
}

BOOL WINAPI PtInRect(const RECT* lprc, POINT pt) {
  return lprc != nullptr && pt.x >= lprc->left && pt.x < lprc->right && pt.y >= lprc->top && pt.y < lprc->bottom;
}

BOOL WINAPI OffsetRect(LPRECT lprc, int dx, int dy) {
  if (lprc == nullptr) return FALSE;
  lprc->left += dx;
  lprc->right += dx;
  lprc->top += dy;
  lprc->bottom += dy;
  return TRUE;
}

BOOL WINAPI InflateRect(LPRECT lprc, int dx, int dy) {
  if (lprc == nullptr) return FALSE;
  lprc->left -= dx;
  lprc->right += dx;
  lprc->top -= dy;
  lprc->bottom += dy;
  return TRUE;
}

BOOL WINAPI IntersectRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2) {
  if (lprcDst == nullptr || lprcSrc1 == nullptr || lprcSrc2 == nullptr) return FALSE;
  RECT result{std::max(lprcSrc1->left, lprcSrc2->left), std::max(lprcSrc1->top, lprcSrc2->top),
              std::min(lprcSrc1->right, lprcSrc2->right), std::min(lprcSrc1->bottom, lprcSrc2->bottom)};
  if (IsRectEmpty(&result)) {
    *lprcDst = RECT{};
    return FALSE;
  }
  *lprcDst = result;
  return TRUE;
}

BOOL WINAPI UnionRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2) {
  if (lprcDst == nullptr || lprcSrc1 == nullptr || lprcSrc2 == nullptr) return FALSE;
  bool firstEmpty = IsRectEmpty(lprcSrc1);
  bool secondEmpty = IsRectEmpty(lprcSrc2);
  if (firstEmpty && secondEmpty) {
    *lprcDst = RECT{};
    return FALSE;
  }
  if (firstEmpty) {
    *lprcDst = *lprcSrc2;
    return TRUE;
  }
  if (secondEmpty) {
    *lprcDst = *lprcSrc1;
    return TRUE;
  }
  *lprcDst = {std::min(lprcSrc1->left, lprcSrc2->left), std::min(lprcSrc1->top, lprcSrc2->top),
              std::max(lprcSrc1->right, lprcSrc2->right), std::max(lprcSrc1->bottom, lprcSrc2->bottom)};
  return TRUE;
}

BOOL WINAPI EqualRect(const RECT* lprc1, const RECT* lprc2) {
  return lprc1 != nullptr && lprc2 != nullptr && lprc1->left == lprc2->left && lprc1->top == lprc2->top &&
         lprc1->right == lprc2->right && lprc1->bottom == lprc2->bottom;
}
