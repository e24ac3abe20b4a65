#include "platform/user/clipboard_store.h"

#include <algorithm>
#include <map>
#include <mutex>

#include "platform/user/win32_errors.h"
#include "platform/user/window_tree.h"

namespace vel::platform {
namespace {

struct Clipboard {
  std::map<UINT, std::vector<BYTE>> formats;
  /// Blocks handed out by GetClipboardData; the clipboard owns them until it is emptied.
  std::map<UINT, HANDLE> handedOut;
  HWND owner = nullptr;
  HWND openedBy = nullptr;
  DWORD openThread = 0;
};

// The program's global memory, as GlobalAlloc hands it out.
class GlobalMemory final : public ClipboardMemory {
 public:
  bool Read(HANDLE block, std::vector<BYTE>* bytes) override {
    SIZE_T size = GlobalSize(block);
    const BYTE* data = static_cast<const BYTE*>(GlobalLock(block));
    if (data == nullptr) return false;
    bytes->assign(data, data + size);
    GlobalUnlock(block);
    return true;
  }
  HANDLE Create(const std::vector<BYTE>& bytes) override {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.empty() ? 1 : bytes.size());
    BYTE* data = block != nullptr ? static_cast<BYTE*>(GlobalLock(block)) : nullptr;
    if (data == nullptr) return nullptr;
    std::copy(bytes.begin(), bytes.end(), data);
    GlobalUnlock(block);
    return block;
  }
  void Free(HANDLE block) override { GlobalFree(block); }
};

GlobalMemory g_globalMemory;
std::mutex g_mutex;
Clipboard g_clipboard;
ClipboardMemory* g_memory = &g_globalMemory;

void FreeHandedOutLocked() {
  if (g_memory != nullptr) {
    for (auto& [format, block] : g_clipboard.handedOut) g_memory->Free(block);
  }
  g_clipboard.handedOut.clear();
}

bool OpenByCaller() { return g_clipboard.openThread != 0 && g_clipboard.openThread == CurrentThreadId(); }

}  // namespace

void SetClipboardMemory(ClipboardMemory* memory) {
  std::lock_guard lock(g_mutex);
  FreeHandedOutLocked();
  g_memory = memory != nullptr ? memory : &g_globalMemory;
}

void PutClipboardBytes(UINT format, std::vector<BYTE> bytes) {
  std::lock_guard lock(g_mutex);
  g_clipboard.formats[format] = std::move(bytes);
}

std::optional<std::vector<BYTE>> ClipboardBytes(UINT format) {
  std::lock_guard lock(g_mutex);
  auto found = g_clipboard.formats.find(format);
  if (found == g_clipboard.formats.end()) return std::nullopt;
  return found->second;
}

}  // namespace vel::platform

using namespace vel::platform;

BOOL WINAPI OpenClipboard(HWND hWndNewOwner) {
  std::lock_guard lock(g_mutex);
  if (g_clipboard.openThread != 0 && !OpenByCaller()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  g_clipboard.openThread = CurrentThreadId();
  g_clipboard.openedBy = hWndNewOwner;
  return TRUE;
}

BOOL WINAPI CloseClipboard(void) {
  std::lock_guard lock(g_mutex);
  if (!OpenByCaller()) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return FALSE;
  }
  g_clipboard.openThread = 0;
  g_clipboard.openedBy = nullptr;
  return TRUE;
}

BOOL WINAPI EmptyClipboard(void) {
  HWND previousOwner = nullptr;
  {
    std::lock_guard lock(g_mutex);
    if (!OpenByCaller()) {
      SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
      return FALSE;
    }
    previousOwner = g_clipboard.owner;
    FreeHandedOutLocked();
    g_clipboard.formats.clear();
    g_clipboard.owner = g_clipboard.openedBy;
  }
  if (previousOwner != nullptr && IsWindow(previousOwner)) SendMessageA(previousOwner, WM_DESTROYCLIPBOARD, 0, 0);
  return TRUE;
}

HANDLE WINAPI SetClipboardData(UINT uFormat, HANDLE hMem) {
  std::lock_guard lock(g_mutex);
  if (!OpenByCaller()) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return nullptr;
  }
  std::vector<BYTE> bytes;
  if (hMem == nullptr || g_memory == nullptr || !g_memory->Read(hMem, &bytes)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  // The clipboard keeps a copy; the block handed over becomes the system's, so it is freed.
  if (uFormat == CF_TEXT || uFormat == CF_OEMTEXT) {
    // Text ends at its terminator; a block without one is taken whole and terminated here.
    auto end = std::find(bytes.begin(), bytes.end(), BYTE{0});
    bytes.erase(end, bytes.end());
    bytes.push_back(0);
  }
  auto old = g_clipboard.handedOut.find(uFormat);
  if (old != g_clipboard.handedOut.end()) {
    g_memory->Free(old->second);
    g_clipboard.handedOut.erase(old);
  }
  g_clipboard.formats[uFormat] = std::move(bytes);
  g_memory->Free(hMem);
  return hMem;
}

HANDLE WINAPI GetClipboardData(UINT uFormat) {
  std::lock_guard lock(g_mutex);
  if (!OpenByCaller()) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return nullptr;
  }
  auto found = g_clipboard.formats.find(uFormat);
  if (found == g_clipboard.formats.end() || g_memory == nullptr) return nullptr;
  auto handed = g_clipboard.handedOut.find(uFormat);
  if (handed != g_clipboard.handedOut.end()) return handed->second;
  HANDLE block = g_memory->Create(found->second);
  if (block != nullptr) g_clipboard.handedOut[uFormat] = block;
  return block;
}

BOOL WINAPI IsClipboardFormatAvailable(UINT format) {
  std::lock_guard lock(g_mutex);
  return g_clipboard.formats.count(format) != 0 ? TRUE : FALSE;
}

HWND WINAPI GetClipboardOwner(void) {
  std::lock_guard lock(g_mutex);
  return g_clipboard.owner != nullptr && IsWindow(g_clipboard.owner) ? g_clipboard.owner : nullptr;
}
