#include <cstdio>
#include <mutex>

#include "platform/user/message_box_script.h"

namespace vel::platform {
namespace {

std::mutex g_mutex;
MessageBoxAnswerer g_answerer;
std::vector<MessageBoxRecord> g_log;

}  // namespace

void SetMessageBoxAnswerer(MessageBoxAnswerer answerer) {
  std::lock_guard lock(g_mutex);
  g_answerer = std::move(answerer);
}

std::vector<MessageBoxRecord> MessageBoxLog() {
  std::lock_guard lock(g_mutex);
  return g_log;
}

void ClearMessageBoxLog() {
  std::lock_guard lock(g_mutex);
  g_log.clear();
}

int FirstButtonAnswer(UINT flags) {
  switch (flags & MB_TYPEMASK) {
    case MB_ABORTRETRYIGNORE: return IDABORT;
    case MB_YESNO:
    case MB_YESNOCANCEL: return IDYES;
    case MB_RETRYCANCEL: return IDRETRY;
    default: return IDOK;
  }
}

}  // namespace vel::platform

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  using namespace vel::platform;
  MessageBoxRecord record{hWnd, lpCaption != nullptr ? lpCaption : "Error", lpText != nullptr ? lpText : "",
                          uType};
  MessageBoxAnswerer answerer;
  {
    std::lock_guard lock(g_mutex);
    g_log.push_back(record);
    answerer = g_answerer;
  }
  std::fprintf(stderr, "[%s] %s\n", record.caption.c_str(), record.text.c_str());
  return answerer ? answerer(record) : FirstButtonAnswer(uType);
}
