// Drawing of the "Button" class in the classic three-dimensional look.
//
// Push buttons: a raised edge; the default button has a black frame around it; pressed, the
// face shows a single shadow line and the text moves one pixel down and right. BS_FLAT push
// buttons show a plain frame, a thin raised edge while the pointer is over them (hot) and a
// thin sunken edge while pressed. Check boxes and radio buttons: a sunken white box or round
// well (grey while pressed or disabled) with the mark, the text beside it (the box goes right
// with BS_LEFTTEXT); BS_FLAT gives them a flat well that turns three-dimensional while hot.
// Group boxes: an etched frame whose top line runs through the middle of the text. The focus
// rectangle is drawn only while the button has the focus; disabled text is embossed. Colours
// come from the parent through WM_CTLCOLORBTN (push buttons) or WM_CTLCOLORSTATIC (the
// others); BS_OWNERDRAW buttons are drawn by the parent through WM_DRAWITEM.

#include <algorithm>

#include "platform/user/control_drawing.h"
#include "platform/user/standard_controls.h"

namespace vel::platform {
namespace {

constexpr int kCheckBoxSize = 13;
constexpr int kTextGap = 4;

struct ButtonLook {
  UINT type = 0;
  DWORD style = 0;
  LONG_PTR state = 0;
  bool enabled = true;
  /// The icon (BS_ICON) or bitmap (BS_BITMAP) shown instead of the text, if any.
  HANDLE image = nullptr;
  bool pushed() const { return (state & BST_PUSHED) != 0; }
  bool focused() const { return (state & BST_FOCUS) != 0; }
  bool hot() const { return (state & BST_HOT) != 0; }
  bool flat() const { return (style & BS_FLAT) != 0; }
};

UINT HorizontalAlignment(DWORD style, UINT fallback) {
  switch (style & BS_CENTER) {
    case BS_LEFT: return DT_LEFT;
    case BS_RIGHT: return DT_RIGHT;
    case BS_CENTER: return DT_CENTER;
    default: return fallback;
  }
}

UINT TextFormat(DWORD style, UINT horizontalFallback) {
  UINT format = HorizontalAlignment(style, horizontalFallback);
  if (style & BS_MULTILINE) return format | DT_WORDBREAK;
  switch (style & BS_VCENTER) {
    case BS_TOP: return format | DT_SINGLELINE | DT_TOP;
    case BS_BOTTOM: return format | DT_SINGLELINE | DT_BOTTOM;
    default: return format | DT_SINGLELINE | DT_VCENTER;
  }
}

SIZE ImageSize(const ButtonLook& look) {
  if (look.style & BS_ICON) return IconSize(static_cast<HICON>(look.image));
  BITMAP bits{};
  if (GetObjectA(look.image, sizeof bits, &bits) <= 0) return SIZE{0, 0};
  return SIZE{bits.bmWidth, bits.bmHeight};
}

bool ShowsImage(const ButtonLook& look) {
  return look.image != nullptr && (look.style & (BS_ICON | BS_BITMAP));
}

// The image of a BS_ICON or BS_BITMAP button, placed in `area` as the text would be.
void DrawImage(HDC dc, const ButtonLook& look, const RECT& area, UINT format) {
  SIZE size = ImageSize(look);
  int x = area.left;
  if (format & DT_CENTER) x = (area.left + area.right - size.cx) / 2;
  if (format & DT_RIGHT) x = area.right - size.cx;
  int y = (area.top + area.bottom - size.cy) / 2;
  if (format & DT_BOTTOM) y = area.bottom - size.cy;
  if ((format & (DT_VCENTER | DT_BOTTOM)) == 0 && !(format & DT_WORDBREAK)) y = area.top;
  if (look.style & BS_ICON) {
    DrawIconEx(dc, x, y, static_cast<HICON>(look.image), 0, 0, 0, nullptr, DI_NORMAL);
    return;
  }
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, look.image);
  BitBlt(dc, x, y, size.cx, size.cy, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

// A button's content: its image when it shows one, else its text.
void DrawContent(HDC dc, const ButtonLook& look, const std::string& text, const RECT& area, UINT format) {
  if (ShowsImage(look)) {
    DrawImage(dc, look, area, format);
  } else {
    DrawControlText(dc, text, area, format, look.enabled);
  }
}

void Frame(HDC dc, const RECT& r, int colorIndex) { FrameRect(dc, &r, GetSysColorBrush(colorIndex)); }

void PaintPushButton(HDC dc, const ButtonLook& look, RECT r, HBRUSH face, const std::string& text) {
  if (look.type == BS_DEFPUSHBUTTON) {
    Frame(dc, r, COLOR_WINDOWFRAME);
    InflateRect(&r, -1, -1);
  }
  RECT faceRect = r;
  FillRect(dc, &r, face);
  if (look.flat()) {
    if (look.pushed()) {
      DrawEdge(dc, &faceRect, BDR_SUNKENOUTER, BF_RECT);
    } else if (look.hot()) {
      DrawEdge(dc, &faceRect, BDR_RAISEDINNER, BF_RECT);
    } else {
      Frame(dc, faceRect, COLOR_WINDOWFRAME);
    }
  } else if (look.pushed()) {
    Frame(dc, faceRect, COLOR_3DSHADOW);
  } else {
    DrawEdge(dc, &faceRect, EDGE_RAISED, BF_RECT);
  }
  RECT textRect = r;
  InflateRect(&textRect, -2, -2);
  if (look.pushed()) OffsetRect(&textRect, 1, 1);
  DrawContent(dc, look, text, textRect, TextFormat(look.style, DT_CENTER));
  if (look.focused()) {
    RECT focus = r;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(dc, &focus);
  }
}

// Where the text of a check box or radio button goes, and the bounds it takes there (for the
// focus rectangle).
RECT TextBounds(HDC dc, const std::string& text, const RECT& area, UINT format) {
  RECT bounds = area;
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &bounds, format | DT_CALCRECT);
  int width = bounds.right - bounds.left;
  int height = bounds.bottom - bounds.top;
  int left = area.left;
  if (format & DT_CENTER) left = area.left + (area.right - area.left - width) / 2;
  if (format & DT_RIGHT) left = area.right - width;
  int top = area.top;
  if ((format & DT_SINGLELINE) && (format & DT_VCENTER))
    top = area.top + (area.bottom - area.top - height) / 2;
  if ((format & DT_SINGLELINE) && (format & DT_BOTTOM)) top = area.bottom - height;
  return RECT{left, top, std::min(left + width, area.right), std::min(top + height, area.bottom)};
}

void PaintCheckOrRadio(HDC dc, const ButtonLook& look, const RECT& client, HBRUSH background,
                       const std::string& text) {
  FillRect(dc, &client, background);
  bool radio = look.type == BS_RADIOBUTTON || look.type == BS_AUTORADIOBUTTON;
  bool leftText = (look.style & BS_LEFTTEXT) != 0;
  int boxLeft = leftText ? client.right - kCheckBoxSize : client.left;
  RECT box{boxLeft, client.top, boxLeft + kCheckBoxSize, client.bottom};
  UINT state = radio ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
  if (look.state & BST_CHECKED) state |= DFCS_CHECKED;
  if (look.state & BST_INDETERMINATE) state |= DFCS_CHECKED | DFCS_BUTTON3STATE;
  if (look.pushed()) state |= DFCS_PUSHED;
  if (!look.enabled) state |= DFCS_INACTIVE;
  if (look.flat() && !look.hot()) state |= DFCS_FLAT;
  DrawFrameControl(dc, &box, DFC_BUTTON, state);

  RECT area = client;
  if (leftText) {
    area.right = box.left - kTextGap;
  } else {
    area.left = box.right + kTextGap;
  }
  if ((text.empty() && !ShowsImage(look)) || area.right <= area.left) return;
  UINT format = TextFormat(look.style, DT_LEFT);
  DrawContent(dc, look, text, area, format);
  if (look.focused()) {
    RECT focus = TextBounds(dc, text, area, format);
    InflateRect(&focus, 1, 1);
    IntersectRect(&focus, &focus, &client);
    DrawFocusRect(dc, &focus);
  }
}

// Group boxes draw only their frame and text: the controls inside show through.
void PaintGroupBox(HDC dc, const ButtonLook& look, const RECT& client, HBRUSH background,
                   const std::string& text) {
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  RECT frame = client;
  frame.top += metrics.tmHeight / 2;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  if (text.empty()) return;
  RECT area{client.left + 9, client.top, client.right - 9, client.top + metrics.tmHeight};
  RECT bounds = TextBounds(dc, text, area, DT_LEFT | DT_SINGLELINE | DT_TOP);
  RECT gap{bounds.left - 2, bounds.top, bounds.right + 2, bounds.bottom};
  FillRect(dc, &gap, background);
  DrawControlText(dc, text, area, DT_LEFT | DT_SINGLELINE | DT_TOP, look.enabled);
}

void SendDrawItem(HWND button, HDC dc, const ButtonLook& look, const RECT& client) {
  HWND parent = GetParent(button);
  if (parent == nullptr) return;
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_BUTTON;
  item.CtlID = static_cast<UINT>(GetDlgCtrlID(button));
  item.itemAction = ODA_DRAWENTIRE;
  if (look.pushed()) item.itemState |= ODS_SELECTED;
  if (look.focused()) item.itemState |= ODS_FOCUS;
  if (!look.enabled) item.itemState |= ODS_DISABLED;
  if (look.hot()) item.itemState |= ODS_HOTLIGHT;
  item.hwndItem = button;
  item.hDC = dc;
  item.rcItem = client;
  SendMessageA(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

void PaintButton(HWND button, HDC dc) {
  ButtonLook look;
  look.style = static_cast<DWORD>(GetWindowLongPtrA(button, GWL_STYLE));
  look.type = look.style & BS_TYPEMASK;
  look.state = GetWindowLongPtrA(button, kButtonStateOffset);
  look.enabled = IsWindowEnabled(button) != FALSE;
  look.image = reinterpret_cast<HANDLE>(GetWindowLongPtrA(button, kButtonImageOffset));
  RECT client{};
  GetClientRect(button, &client);
  int saved = SaveDC(dc);
  SelectObject(dc, FontOrDefault(reinterpret_cast<HFONT>(GetWindowLongPtrA(button, kButtonFontOffset))));
  switch (look.type) {
    case BS_OWNERDRAW: SendDrawItem(button, dc, look, client); break;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      if (look.style & BS_PUSHLIKE) {
        // A push-like check box looks like a push button that stays down while checked.
        if (look.state & (BST_CHECKED | BST_INDETERMINATE)) look.state |= BST_PUSHED;
        PaintPushButton(dc, look, client, ControlColors(button, dc, WM_CTLCOLORBTN), ControlText(button));
      } else {
        PaintCheckOrRadio(dc, look, client, ControlColors(button, dc, WM_CTLCOLORSTATIC),
                          ControlText(button));
      }
      break;
    case BS_GROUPBOX:
      PaintGroupBox(dc, look, client, ControlColors(button, dc, WM_CTLCOLORSTATIC), ControlText(button));
      break;
    default:
      PaintPushButton(dc, look, client, ControlColors(button, dc, WM_CTLCOLORBTN), ControlText(button));
      break;
  }
  RestoreDC(dc, saved);
}

}  // namespace vel::platform
