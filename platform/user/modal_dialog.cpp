// The modal loop of dialog boxes and EndDialog.

#include <cstdio>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <utility>

#include "platform/display/headless/headless_display.h"
#include "platform/user/dialog_box.h"

namespace vel::platform {
namespace {

struct ModalState {
  bool ended = false;
  INT_PTR result = 0;
  /// The owner the loop disabled, until it is enabled again.
  HWND disabledOwner = nullptr;
};

std::mutex g_mutex;
ModalDialogDriver g_driver;
std::unordered_map<HWND, ModalState>& Ending() {
  static auto* ending = new std::unordered_map<HWND, ModalState>();
  return *ending;
}

ModalDialogDriver CurrentDriver() {
  std::lock_guard lock(g_mutex);
  return g_driver;
}

bool Ended(HWND dialog, INT_PTR* result) {
  std::lock_guard lock(g_mutex);
  auto found = Ending().find(dialog);
  if (found == Ending().end() || !found->second.ended) return false;
  *result = found->second.result;
  return true;
}

std::string Caption(HWND dialog) {
  char text[256] = {};
  GetWindowTextA(dialog, text, sizeof text);
  return text;
}

// Nothing to handle: the driver, then the headless script, may give the dialog something to
// do; an unattended headless dialog is cancelled. False when the loop should wait for input.
bool Quiet(HWND dialog) {
  if (ModalDialogDriver driver = CurrentDriver()) {
    if (driver(dialog)) return true;
  }
  HeadlessDisplay* headless = CurrentHeadlessDisplay();
  if (headless == nullptr) return false;
  if (headless->ScriptPending()) {
    headless->Idle(std::nullopt);
    return true;
  }
  std::fprintf(stderr, "[%s] dialog ended unattended\n", Caption(dialog).c_str());
  std::fflush(stderr);
  EndDialog(dialog, IDCANCEL);
  return true;
}

void EnableDisabledOwner(HWND dialog) {
  HWND owner = nullptr;
  {
    std::lock_guard lock(g_mutex);
    auto found = Ending().find(dialog);
    if (found == Ending().end()) return;
    owner = std::exchange(found->second.disabledOwner, nullptr);
  }
  if (owner != nullptr && IsWindow(owner)) EnableWindow(owner, TRUE);
}

}  // namespace

void SetModalDialogDriver(ModalDialogDriver driver) {
  std::lock_guard lock(g_mutex);
  g_driver = std::move(driver);
}

INT_PTR RunModalDialog(HWND dialog, HWND owner) {
  {
    std::lock_guard lock(g_mutex);
    Ending()[dialog] = ModalState{};
  }
  HWND ownerTop = owner;
  while (ownerTop != nullptr && (GetWindowLongPtrA(ownerTop, GWL_STYLE) & WS_CHILD)) ownerTop = GetParent(ownerTop);
  if (ownerTop != nullptr && IsWindowEnabled(ownerTop)) {
    EnableWindow(ownerTop, FALSE);
    std::lock_guard lock(g_mutex);
    Ending()[dialog].disabledOwner = ownerTop;
  }
  ShowWindow(dialog, SW_SHOW);
  UpdateWindow(dialog);
  INT_PTR result = IDCANCEL;
  std::optional<int> quitCode;
  for (;;) {
    if (Ended(dialog, &result)) break;
    if (!IsWindow(dialog)) break;
    MSG msg{};
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (Quiet(dialog)) continue;
      if (!GetMessageA(&msg, nullptr, 0, 0)) msg.message = WM_QUIT;
    }
    if (msg.message == WM_QUIT) {
      quitCode = static_cast<int>(msg.wParam);
      break;
    }
    if (!IsDialogMessageA(dialog, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  // The owner comes back before the dialog goes, so that activation returns to it.
  EnableDisabledOwner(dialog);
  if (IsWindow(dialog)) DestroyWindow(dialog);
  {
    std::lock_guard lock(g_mutex);
    Ending().erase(dialog);
  }
  if (quitCode) PostQuitMessage(*quitCode);
  return result;
}

}  // namespace vel::platform

BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult) {
  using namespace vel::platform;
  if (!IsWindow(hDlg)) return FALSE;
  {
    std::lock_guard lock(g_mutex);
    auto found = Ending().find(hDlg);
    if (found != Ending().end()) {
      found->second.ended = true;
      found->second.result = nResult;
    }
  }
  // A modal dialog goes from the screen at once; its loop destroys it. Its owner is enabled
  // first, so that the activation the hidden dialog gives up goes back to the owner.
  EnableDisabledOwner(hDlg);
  ShowWindow(hDlg, SW_HIDE);
  return TRUE;
}
