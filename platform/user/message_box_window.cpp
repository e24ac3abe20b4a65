#include "platform/user/message_box_window.h"

#include <algorithm>
#include <cctype>

namespace vel::platform {
namespace {

constexpr DWORD kBoxStyle = WS_POPUP | WS_CAPTION | DS_MODALFRAME | WS_CLIPSIBLINGS;

MessageBoxContent* ContentOf(HWND box) {
  return reinterpret_cast<MessageBoxContent*>(GetWindowLongPtrA(box, DWLP_USER));
}

HFONT BoxFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

void Paint(HWND box, const MessageBoxContent& content) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(box, &paint);
  if (dc == nullptr) return;
  if (content.icon != nullptr) DrawIcon(dc, content.layout.icon.left, content.layout.icon.top, content.icon);
  HGDIOBJ oldFont = SelectObject(dc, BoxFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  RECT textRect = content.layout.text;
  DrawTextA(dc, content.text.c_str(), static_cast<int>(content.text.size()), &textRect, kMessageBoxTextFormat);
  SelectObject(dc, oldFont);
  EndPaint(box, &paint);
}

bool IsButtonOf(const MessageBoxContent& content, int id) {
  return std::any_of(content.buttons.begin(), content.buttons.end(),
                     [id](const MessageBoxButton& button) { return button.id == id; });
}

INT_PTR CALLBACK BoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM) {
  MessageBoxContent* content = ContentOf(box);
  if (content == nullptr) return FALSE;
  switch (message) {
    case WM_PAINT: Paint(box, *content); return TRUE;
    case WM_COMMAND: {
      int id = LOWORD(wParam);
      // Esc and the close button arrive as IDCANCEL even when the box has no Cancel button.
      if (content->answer == 0) {
        if (IsButtonOf(*content, id)) {
          content->answer = id;
        } else if (id == IDCANCEL) {
          content->answer = DismissAnswer(content->flags);
        }
      }
      return TRUE;
    }
    default: return FALSE;
  }
}

// The character a button's text marks with "&", upper-cased; 0 for none.
char Mnemonic(const char* text) {
  for (const char* at = text; *at != '\0'; ++at) {
    if (at[0] == '&' && at[1] != '\0') {
      if (at[1] != '&') return static_cast<char>(std::toupper(static_cast<unsigned char>(at[1])));
      ++at;
    }
  }
  return 0;
}

// Width of the caption text in the box font, so that a long caption widens the box.
int CaptionWidth(HDC dc, const std::string& caption) {
  SIZE size{};
  GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
  return static_cast<int>(size.cx);
}

RECT CentredRect(SIZE size, HWND centreOn) {
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  RECT screen = area;
  if (centreOn != nullptr && IsWindowVisible(centreOn) && !IsIconic(centreOn)) GetWindowRect(centreOn, &area);
  LONG left = area.left + (area.right - area.left - size.cx) / 2;
  LONG top = area.top + (area.bottom - area.top - size.cy) / 2;
  // The whole box stays on the screen, its caption above all.
  left = std::max(screen.left, std::min(left, screen.right - size.cx));
  top = std::max(screen.top, std::min(top, screen.bottom - size.cy));
  return {left, top, left + size.cx, top + size.cy};
}

}  // namespace

HWND CreateMessageBoxWindow(MessageBoxContent& content, const std::string& caption, HWND owner, HWND centreOn) {
  content.buttons = MessageBoxButtons(content.flags);
  LPCSTR iconResource = MessageBoxIconResource(content.flags);
  content.icon = iconResource != nullptr ? LoadIconA(nullptr, iconResource) : nullptr;

  // Yes/No and Abort/Retry/Ignore boxes cannot be closed without an answer, so they get no
  // close button.
  DWORD style = kBoxStyle | (DismissAnswer(content.flags) != 0 ? WS_SYSMENU : 0);
  DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  if (content.flags & (MB_TOPMOST | MB_SYSTEMMODAL)) exStyle |= WS_EX_TOPMOST;

  SIZE screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ oldFont = SelectObject(dc, BoxFont());
    // Lines wrap at five eighths of the screen, a width that still reads as one glance.
    content.layout = LayOutMessageBox(dc, content.text, content.icon != nullptr, content.buttons.size(),
                                      static_cast<int>(screen.cx * 5 / 8), CaptionWidth(dc, caption),
                                      static_cast<int>(screen.cy - (frame.bottom - frame.top)));
    SelectObject(dc, oldFont);
    DeleteDC(dc);
  }
  SIZE outer{content.layout.client.cx + (frame.right - frame.left),
             content.layout.client.cy + (frame.bottom - frame.top)};
  RECT place = CentredRect(outer, centreOn);

  HWND box = CreateWindowExA(exStyle, "#32770", caption.c_str(), style, place.left, place.top, outer.cx, outer.cy,
                             owner, nullptr, nullptr, nullptr);
  if (box == nullptr) return nullptr;
  SetWindowLongPtrA(box, DWLP_USER, reinterpret_cast<LONG_PTR>(&content));
  SetWindowLongPtrA(box, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(BoxProcedure));

  size_t defaultIndex = DefaultButtonIndex(content.flags, content.buttons.size());
  for (size_t i = 0; i < content.buttons.size(); ++i) {
    const RECT& rect = content.layout.buttons[i];
    DWORD buttonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == 0 ? WS_GROUP : 0) |
                        (i == defaultIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    HWND button = CreateWindowExA(0, "Button", content.buttons[i].text, buttonStyle, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, box,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(content.buttons[i].id)), nullptr,
                                  nullptr);
    if (button != nullptr) SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(BoxFont()), FALSE);
  }
  SendMessageA(box, DM_SETDEFID, static_cast<WPARAM>(content.buttons[defaultIndex].id), 0);
  return box;
}

void ShowMessageBoxWindow(HWND box, const MessageBoxContent& content) {
  // Taking the activation from a window of another thread means sending it messages and
  // waiting for that thread, which may itself be waiting for this one (a worker reporting an
  // error while the main thread waits for it). Such a box appears on top without activation
  // and is answered with the mouse.
  HWND active = GetForegroundWindow();
  if (active != nullptr && GetWindowThreadProcessId(active, nullptr) != GetCurrentThreadId()) {
    SetWindowPos(box, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return;
  }
  ShowWindow(box, SW_SHOWNORMAL);
  if (GetActiveWindow() != box) SetActiveWindow(box);
  size_t defaultIndex = DefaultButtonIndex(content.flags, content.buttons.size());
  HWND defaultButton = GetDlgItem(box, content.buttons[defaultIndex].id);
  if (defaultButton != nullptr) SendMessageA(box, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(defaultButton), TRUE);
}

bool PressMessageBoxMnemonic(HWND box, const MSG& msg) {
  if (msg.message != WM_CHAR && msg.message != WM_SYSCHAR) return false;
  if (msg.hwnd != box && !IsChild(box, msg.hwnd)) return false;
  MessageBoxContent* content = ContentOf(box);
  if (content == nullptr) return false;
  char typed = static_cast<char>(std::toupper(static_cast<unsigned char>(msg.wParam & 0xFF)));
  for (const MessageBoxButton& button : content->buttons) {
    if (typed == 0 || Mnemonic(button.text) != typed) continue;
    HWND control = GetDlgItem(box, button.id);
    if (control != nullptr && IsWindowEnabled(control)) SendMessageA(control, BM_CLICK, 0, 0);
    return true;
  }
  return false;
}

}  // namespace vel::platform
