// The message table of a button the runtime draws (an icon button, or a flat one): it presses
// itself with the mouse and the space bar, tracks the pointer while it is hot, and draws itself,
// so the standard button procedure sees only the few messages it is passed and never draws it.

#include "runtime/controls/button_control.h"
#include "runtime/controls/control_font.h"
#include "runtime/controls/hot_control.h"
#include "runtime/images/icon_image.h"

namespace vel::controls {
namespace {

bool PointInClient(HWND window, LPARAM lParam) {
  RECT client{};
  GetClientRect(window, &client);
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  return PtInRect(&client, point) != FALSE;
}

// What the framework's common handler answers for the control, whatever its kind.
bool LeftToCommonHandler(UINT message) {
  switch (message) {
    case WM_COMMAND:
    case WM_DROPFILES:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return true;
    default: return false;
  }
}

}  // namespace

LRESULT ButtonControl::HandleDrawnButtonMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& passOn) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      passOn = false;
      if (GetFocus() != m_handle) SetFocus(m_handle);
      SetCapture(m_handle);
      m_captured = true;
      ShowPressed(true);
      return 0;
    case WM_MOUSEMOVE:
      passOn = false;
      if (m_captured) {
        bool inside = PointInClient(m_handle, lParam);
        if (inside != HasDrawState(kDrawPressed)) ShowPressed(inside);
      } else if ((m_buttonFlags & kButtonFlat) && GetCapture() == nullptr) {
        if (m_hoverTimer == 0) m_hoverTimer = SetTimer(m_handle, kHoverTimer, kHoverPeriod, nullptr);
        SetDrawState(kDrawHot, true);
        MakeHotControl(*this);
      }
      return 0;
    case WM_LBUTTONUP:
      passOn = false;
      if (m_captured) {
        m_captured = false;
        ReleaseCapture();
        if (HasDrawState(kDrawPressed)) Click();
      }
      return 0;
    case WM_CAPTURECHANGED:
      // Another window took the mouse away in the middle of a press: the press is off.
      passOn = false;
      if (m_captured && reinterpret_cast<HWND>(lParam) != m_handle) {
        m_captured = false;
        ShowPressed(false);
      }
      return 0;
    case WM_KEYDOWN:
      passOn = false;
      if (wParam == VK_SPACE && !HasDrawState(kDrawPressed)) {
        m_keyDown = wParam;
        ShowPressed(true);
      }
      return 0;
    case WM_KEYUP:
      passOn = false;
      if (m_keyDown != 0 && wParam == m_keyDown) {
        m_keyDown = 0;
        Click();
      }
      return 0;
    case WM_PAINT: {
      passOn = false;
      PAINTSTRUCT paint{};
      HDC dc = BeginPaint(m_handle, &paint);
      if (dc != nullptr) Paint(dc);
      EndPaint(m_handle, &paint);
      return 0;
    }
    case BM_GETCHECK:
    case kPrivateGetCheck: passOn = false; return HasDrawState(kDrawChecked) ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
    case kPrivateSetCheck: passOn = false; SetDrawState(kDrawChecked, wParam != 0); return 0;
    case BM_GETSTATE:
      passOn = false;
      return (HasDrawState(kDrawChecked) ? BST_CHECKED : 0) | (HasDrawState(kDrawPressed) ? BST_PUSHED : 0) |
             (GetFocus() == m_handle ? BST_FOCUS : 0) | (HasDrawState(kDrawHot) ? BST_HOT : 0);
    case BM_SETSTATE:
    case kPrivateSetState:
      // Recorded and redrawn by the handling every button shares.
      passOn = false;
      return 0;
    case BM_SETSTYLE:
    case kPrivateSetStyle: {
      passOn = false;
      LONG_PTR style = GetWindowLongPtrA(m_handle, GWL_STYLE);
      SetWindowLongPtrA(m_handle, GWL_STYLE, (style & ~LONG_PTR{0xFFFF}) | static_cast<LONG_PTR>(LOWORD(wParam)));
      bool wasDefault = HasDrawState(kDrawDefault);
      m_drawState = LOWORD(wParam) == BS_DEFPUSHBUTTON ? (m_drawState | kDrawDefault) : (m_drawState & ~kDrawDefault);
      if (lParam != 0 || wasDefault != HasDrawState(kDrawDefault)) InvalidateRect(m_handle, nullptr, FALSE);
      return 0;
    }
    case WM_ENABLE:
      passOn = false;
      // A disabled button is neither hot nor pressed.
      if (!wParam) SetDrawState(kDrawHot | kDrawPressed, false);
      SetDrawState(kDrawDisabled, wParam == 0);
      InvalidateRect(m_handle, nullptr, FALSE);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      // A skip button announced its focus already.
      if (message == WM_SETFOCUS && passOn) AnnounceFocus();
      passOn = false;
      InvalidateRect(m_handle, nullptr, FALSE);
      return 0;
    case WM_SETCURSOR: passOn = false; return 0;
    case BM_CLICK:
    case kPrivateClick:
    case WM_GETDLGCODE:
    case WM_NCMOUSEMOVE:
    case WM_NCDESTROY:
    case WM_NOTIFY: return 0;
    default:
      if (!passOn || LeftToCommonHandler(message)) return 0;
      passOn = false;
      return DefWindowProcA(m_handle, message, wParam, lParam);
  }
}

void ButtonControl::Click() {
  PressAction();
  ShowPressed(false);
  HWND parent = GetParent(m_handle);
  if (parent != nullptr) {
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(m_handle), BN_CLICKED),
                 reinterpret_cast<LPARAM>(m_handle));
  }
}

ButtonPicture ButtonControl::PictureToDraw() const {
  ButtonPicture picture;
  images::Image* image = m_picture.get();
  if (image == nullptr) return picture;
  picture.size = PictureSize();
  // An icon is drawn at the size the button shows it; other pictures stretch themselves.
  if (auto* icon = dynamic_cast<images::IconImage*>(image)) {
    picture.draw = [icon](HDC dc, int x, int y, int width, int height) { icon->DrawScaled(dc, x, y, width, height); };
  } else {
    picture.draw = [image](HDC dc, int x, int y, int width, int height) { image->Draw(dc, x, y, width, height); };
  }
  return picture;
}

void ButtonControl::Paint(HDC dc) {
  RECT area{};
  GetClientRect(m_handle, &area);
  ButtonLook look;
  look.drawState = m_drawState;
  look.focused = GetFocus() == m_handle;
  look.transparent = HasAttribute(kAttrTransparent);
  look.background = BackgroundBrush();
  look.textColour = ColourOfValue(m_font ? m_font->TextColour() : kWindowTextColourValue);
  look.font = m_font ? m_font->Handle() : nullptr;
  look.text = CurrentText();
  look.picture = PictureToDraw();
  DrawRuntimeButton(dc, area, look);
}

}  // namespace vel::controls
