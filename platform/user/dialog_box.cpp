// Dialog boxes from templates: the dialog's font and units, its window and controls, and the
// helper functions that read and set controls by identifier.

#include "platform/user/dialog_box.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>

namespace vel::platform {
namespace {

// Each dialog's font (deleted with the dialog when it made it) and its units.
struct DialogUnits {
  HFONT font = nullptr;
  bool ownsFont = false;
  int baseX = 6;
  int baseY = 13;
};

std::mutex g_mutex;
std::unordered_map<HWND, DialogUnits>& Units() {
  static auto* units = new std::unordered_map<HWND, DialogUnits>();
  return *units;
}

DialogUnits UnitsOf(HWND dialog) {
  std::lock_guard lock(g_mutex);
  auto found = Units().find(dialog);
  return found != Units().end() ? found->second : DialogUnits{};
}

// The average character width and height of a font, as dialog units are measured.
void Measure(HFONT font, int* baseX, int* baseY) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  SIZE size{};
  GetTextExtentPoint32A(dc, kAlphabet, 52, &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  *baseX = size.cx > 0 ? (size.cx / 26 + 1) / 2 : 6;
  *baseY = metrics.tmHeight > 0 ? metrics.tmHeight : 13;
}

int ToPixelsX(int units, const DialogUnits& dialog) { return units * dialog.baseX / 4; }
int ToPixelsY(int units, const DialogUnits& dialog) { return units * dialog.baseY / 8; }

DialogUnits MakeFont(const DialogTemplate& dialogTemplate) {
  DialogUnits units;
  if ((dialogTemplate.style & DS_SETFONT) && !dialogTemplate.faceName.empty()) {
    HDC screen = GetDC(nullptr);
    int height = -((dialogTemplate.pointSize * GetDeviceCaps(screen, LOGPIXELSY) + 36) / 72);
    ReleaseDC(nullptr, screen);
    units.font = CreateFontA(height, 0, 0, 0, dialogTemplate.weight, dialogTemplate.italic, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, dialogTemplate.faceName.c_str());
    units.ownsFont = units.font != nullptr;
  }
  if (units.font == nullptr) units.font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  Measure(units.font, &units.baseX, &units.baseY);
  return units;
}

// Where the dialog goes: centred on its owner (or the screen) with DS_CENTER, else at the
// template's position from the owner's client origin (the screen's with DS_ABSALIGN).
POINT Placement(const DialogTemplate& dialogTemplate, HWND owner, const DialogUnits& units, SIZE size) {
  if (dialogTemplate.style & (DS_CENTER | DS_CENTERMOUSE)) {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner != nullptr && IsWindowVisible(owner)) GetWindowRect(owner, &area);
    POINT at{area.left + (area.right - area.left - size.cx) / 2, area.top + (area.bottom - area.top - size.cy) / 2};
    if (at.x < 0) at.x = 0;
    if (at.y < 0) at.y = 0;
    return at;
  }
  POINT origin{0, 0};
  if (owner != nullptr && !(dialogTemplate.style & DS_ABSALIGN)) ClientToScreen(owner, &origin);
  return POINT{origin.x + ToPixelsX(dialogTemplate.x, units), origin.y + ToPixelsY(dialogTemplate.y, units)};
}

std::string ClassName(const NameOrNumber& windowClass, const char* fallback) {
  if (!windowClass.isNumber) return windowClass.name.empty() ? fallback : windowClass.name;
  std::string name = PredefinedClassName(windowClass.number);
  return name.empty() ? fallback : name;
}

bool CreateControl(HWND dialog, HINSTANCE instance, const DialogItemTemplate& item, const DialogUnits& units) {
  std::string className = ClassName(item.windowClass, "Static");
  LPCSTR title = item.title.isNumber ? MAKEINTRESOURCEA(item.title.number) : item.title.name.c_str();
  void* data = item.creationData.empty() ? nullptr : const_cast<BYTE*>(item.creationData.data());
  HWND control = CreateWindowExA(item.exStyle | WS_EX_NOPARENTNOTIFY, className.c_str(), title,
                                 (item.style | WS_CHILD) & ~WS_POPUP, ToPixelsX(item.x, units),
                                 ToPixelsY(item.y, units), ToPixelsX(item.cx, units), ToPixelsY(item.cy, units),
                                 dialog, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.id & 0xFFFF)), instance,
                                 data);
  if (control == nullptr) return false;
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(units.font), FALSE);
  return true;
}

}  // namespace

HWND CreateDialogFromTemplate(HINSTANCE instance, const DialogTemplate& dialogTemplate, HWND owner,
                              DLGPROC procedure, LPARAM parameter) {
  DialogUnits units = MakeFont(dialogTemplate);
  DWORD style = dialogTemplate.style & ~(WS_VISIBLE | DS_SETFONT);
  DWORD exStyle = dialogTemplate.exStyle;
  if (dialogTemplate.style & DS_MODALFRAME) exStyle |= WS_EX_DLGMODALFRAME;
  RECT frame{0, 0, ToPixelsX(dialogTemplate.cx, units), ToPixelsY(dialogTemplate.cy, units)};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  SIZE size{frame.right - frame.left, frame.bottom - frame.top};
  POINT at = Placement(dialogTemplate, owner, units, size);
  std::string className = ClassName(dialogTemplate.windowClass, "#32770");
  HWND dialog = CreateWindowExA(exStyle, className.c_str(), dialogTemplate.title.c_str(), style, at.x, at.y, size.cx,
                                size.cy, owner, nullptr, instance, nullptr);
  if (dialog == nullptr) {
    if (units.ownsFont) DeleteObject(units.font);
    return nullptr;
  }
  {
    std::lock_guard lock(g_mutex);
    Units()[dialog] = units;
  }
  SetWindowLongPtrA(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(procedure));
  SendMessageA(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(units.font), FALSE);
  for (const DialogItemTemplate& item : dialogTemplate.items) {
    if (!CreateControl(dialog, instance, item, units) && !(dialogTemplate.style & DS_NOFAILCREATE)) {
      DestroyWindow(dialog);
      return nullptr;
    }
  }
  HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
  if (SendMessageA(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), parameter) && first != nullptr) {
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
  }
  if (IsWindow(dialog) && (dialogTemplate.style & WS_VISIBLE)) ShowWindow(dialog, SW_SHOW);
  return IsWindow(dialog) ? dialog : nullptr;
}

std::optional<DialogTemplate> LoadDialogTemplate(HINSTANCE instance, LPCSTR name) {
  HRSRC found = FindResourceA(instance, name, RT_DIALOG);
  if (found == nullptr) return std::nullopt;
  HGLOBAL loaded = LoadResource(instance, found);
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) return std::nullopt;
  return ParseDialogTemplate(bytes, SizeofResource(instance, found));
}

void ForgetDialogUnits(HWND dialog) {
  DialogUnits units;
  {
    std::lock_guard lock(g_mutex);
    auto found = Units().find(dialog);
    if (found == Units().end()) return;
    units = found->second;
    Units().erase(found);
  }
  if (units.ownsFont) DeleteObject(units.font);
}

}  // namespace vel::platform

using namespace vel::platform;

namespace {

// A template handed over by pointer is the caller's memory; its size is not known, so it is
// read up to this bound.
constexpr size_t kInMemoryTemplateBound = 1 << 20;

}  // namespace

HWND WINAPI CreateDialogIndirectParamA(HINSTANCE hInstance, LPCDLGTEMPLATEA lpTemplate, HWND hWndParent,
                                       DLGPROC lpDialogFunc, LPARAM dwInitParam) {
  std::optional<DialogTemplate> parsed = ParseDialogTemplate(lpTemplate, kInMemoryTemplateBound);
  if (!parsed) return nullptr;
  return CreateDialogFromTemplate(hInstance, *parsed, hWndParent, lpDialogFunc, dwInitParam);
}

HWND WINAPI CreateDialogParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                               LPARAM dwInitParam) {
  std::optional<DialogTemplate> parsed = LoadDialogTemplate(hInstance, lpTemplateName);
  if (!parsed) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  return CreateDialogFromTemplate(hInstance, *parsed, hWndParent, lpDialogFunc, dwInitParam);
}

INT_PTR WINAPI DialogBoxIndirectParamA(HINSTANCE hInstance, LPCDLGTEMPLATEA hDialogTemplate, HWND hWndParent,
                                       DLGPROC lpDialogFunc, LPARAM dwInitParam) {
  std::optional<DialogTemplate> parsed = ParseDialogTemplate(hDialogTemplate, kInMemoryTemplateBound);
  if (!parsed) return -1;
  parsed->style &= ~WS_VISIBLE;
  HWND dialog = CreateDialogFromTemplate(hInstance, *parsed, hWndParent, lpDialogFunc, dwInitParam);
  return dialog != nullptr ? RunModalDialog(dialog, hWndParent) : -1;
}

INT_PTR WINAPI DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                               LPARAM dwInitParam) {
  std::optional<DialogTemplate> parsed = LoadDialogTemplate(hInstance, lpTemplateName);
  if (!parsed) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return -1;
  }
  parsed->style &= ~WS_VISIBLE;
  HWND dialog = CreateDialogFromTemplate(hInstance, *parsed, hWndParent, lpDialogFunc, dwInitParam);
  return dialog != nullptr ? RunModalDialog(dialog, hWndParent) : -1;
}

BOOL WINAPI MapDialogRect(HWND hDlg, LPRECT lpRect) {
  if (lpRect == nullptr || !IsWindow(hDlg)) return FALSE;
  DialogUnits units = UnitsOf(hDlg);
  if (units.font == nullptr) Measure(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), &units.baseX, &units.baseY);
  lpRect->left = ToPixelsX(lpRect->left, units);
  lpRect->right = ToPixelsX(lpRect->right, units);
  lpRect->top = ToPixelsY(lpRect->top, units);
  lpRect->bottom = ToPixelsY(lpRect->bottom, units);
  return TRUE;
}

LONG WINAPI GetDialogBaseUnits(void) {
  int baseX = 0;
  int baseY = 0;
  Measure(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), &baseX, &baseY);
  return MAKELONG(baseX, baseY);
}

UINT WINAPI GetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPSTR lpString, int cchMax) {
  if (lpString == nullptr || cchMax <= 0) return 0;
  lpString[0] = '\0';
  HWND item = GetDlgItem(hDlg, nIDDlgItem);
  return item != nullptr ? static_cast<UINT>(GetWindowTextA(item, lpString, cchMax)) : 0;
}

BOOL WINAPI SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString) {
  HWND item = GetDlgItem(hDlg, nIDDlgItem);
  return item != nullptr ? SetWindowTextA(item, lpString) : FALSE;
}

UINT WINAPI GetDlgItemInt(HWND hDlg, int nIDDlgItem, BOOL* lpTranslated, BOOL bSigned) {
  if (lpTranslated != nullptr) *lpTranslated = FALSE;
  char text[64] = {};
  GetDlgItemTextA(hDlg, nIDDlgItem, text, sizeof text);
  const char* start = text;
  while (*start == ' ') ++start;
  char* end = nullptr;
  long long value = bSigned ? std::strtoll(start, &end, 10) : static_cast<long long>(std::strtoull(start, &end, 10));
  while (end != nullptr && *end == ' ') ++end;
  bool valid = end != start && end != nullptr && *end == '\0' && (bSigned || start[0] != '-');
  if (bSigned) valid = valid && value >= INT32_MIN && value <= INT32_MAX;
  else valid = valid && value >= 0 && value <= static_cast<long long>(UINT32_MAX);
  if (!valid) return 0;
  if (lpTranslated != nullptr) *lpTranslated = TRUE;
  return static_cast<UINT>(value);
}

BOOL WINAPI SetDlgItemInt(HWND hDlg, int nIDDlgItem, UINT uValue, BOOL bSigned) {
  std::string text = bSigned ? std::to_string(static_cast<int>(uValue)) : std::to_string(uValue);
  return SetDlgItemTextA(hDlg, nIDDlgItem, text.c_str());
}

BOOL WINAPI CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck) {
  HWND button = GetDlgItem(hDlg, nIDButton);
  if (button == nullptr) return FALSE;
  SendMessageA(button, BM_SETCHECK, uCheck, 0);
  return TRUE;
}

UINT WINAPI IsDlgButtonChecked(HWND hDlg, int nIDButton) {
  HWND button = GetDlgItem(hDlg, nIDButton);
  return button != nullptr ? static_cast<UINT>(SendMessageA(button, BM_GETCHECK, 0, 0)) : 0;
}

BOOL WINAPI CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
  for (int id = nIDFirstButton; id <= nIDLastButton; ++id) {
    if (HWND button = GetDlgItem(hDlg, id)) SendMessageA(button, BM_SETCHECK, id == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  return TRUE;
}
