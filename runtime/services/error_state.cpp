#include "runtime/services/error_state.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

#include "runtime/services/error_messages.h"
#include "runtime/values/string_stack.h"

namespace vel::services {
namespace {

// One state per process, shared by every runtime thread. The runtime lock already serialises
// runtime work; the mutex keeps the state whole even for a thread that reports without it.
std::mutex g_mutex;
ErrorState g_state;
std::vector<ErrorState> g_saved;

void FillText(ErrorState& state, std::string_view message) {
  std::memset(state.text, ' ', kErrorTextSize);
  const std::size_t firstNonBlank = message.find_first_not_of(' ');
  if (firstNonBlank == std::string_view::npos) return;
  message.remove_prefix(firstNonBlank);
  const std::size_t length = std::min(message.size(), kErrorTextMaxLength);
  std::memcpy(state.text, message.data(), length);
}

}  // namespace

ErrorState::ErrorState() { std::memset(text, ' ', kErrorTextSize); }

void SetError(std::int32_t code) {
  // The last-error value is taken before the message lookup, which may itself fail and change
  // it, and is put back afterwards so that setting the error state disturbs nothing.
  const DWORD lastError = GetLastError();
  if (code == 0) code = static_cast<std::int32_t>(lastError + static_cast<DWORD>(kPlatformErrorOffset));
  const std::string message = ErrorMessageText(code);

  ErrorState state;
  state.code = code;
  FillText(state, message);
  state.platformError = lastError;
  {
    std::lock_guard lock(g_mutex);
    g_state = state;
  }
  SetLastError(lastError);
}

void ClearError() {
  std::lock_guard lock(g_mutex);
  g_state = ErrorState{};
}

std::int32_t ERRORCODE() {
  std::lock_guard lock(g_mutex);
  return g_state.code;
}

std::string ErrorText() {
  std::lock_guard lock(g_mutex);
  return std::string(g_state.text, kErrorTextSize);
}

std::string ClippedErrorText() {
  std::string text = ErrorText();
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

void PushErrorText() {
  const std::string text = ErrorText();
  values::PushBytes(text.data(), static_cast<std::uint32_t>(text.size()));
}

DWORD ErrorPlatformCode() {
  std::lock_guard lock(g_mutex);
  return g_state.platformError;
}

ErrorState CurrentErrorState() {
  std::lock_guard lock(g_mutex);
  return g_state;
}

ErrorState ErrorStateWithoutWaiting() {
  std::unique_lock lock(g_mutex, std::try_to_lock);
  return g_state;
}

void SaveErrorState() {
  std::lock_guard lock(g_mutex);
  g_saved.push_back(g_state);
}

void RestoreErrorState() {
  std::lock_guard lock(g_mutex);
  if (g_saved.empty()) return;
  g_state = g_saved.back();
  g_saved.pop_back();
}

std::size_t SavedErrorStateDepth() {
  std::lock_guard lock(g_mutex);
  return g_saved.size();
}

}  // namespace vel::services
