#include "runtime/services/error_messages.h"

#include <mutex>

#include "win32.h"

namespace vel::services {
namespace {

// Used when even the unknown-error text is missing from the program's resources, so that the
// fallback never depends on the table it stands in for.
constexpr const char* kBuiltInUnknownErrorText = "Unknown Error Posted";

std::mutex g_overrideMutex;
MessageOverride g_override;

std::optional<std::string> OverrideText(std::int32_t code) {
  MessageOverride hook;
  {
    std::lock_guard lock(g_overrideMutex);
    hook = g_override;
  }
  if (!hook) return std::nullopt;
  std::optional<std::string> text = hook(code);
  if (text && text->size() > kMessageTextMaxLength) text->resize(kMessageTextMaxLength);
  return text;
}

std::optional<std::string> ResourceText(std::int32_t code) {
  // String identifiers are 16-bit; no other code can have a resource.
  if (code < 0 || code > 0xFFFF) return std::nullopt;
  char buffer[kMessageTextMaxLength + 1];
  const int length = LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(code), buffer, sizeof buffer);
  if (length <= 0) return std::nullopt;
  return std::string(buffer, static_cast<std::size_t>(length));
}

std::optional<std::string> OwnText(std::int32_t code) {
  if (std::optional<std::string> text = OverrideText(code)) return text;
  return ResourceText(code);
}

}  // namespace

void SetMessageOverride(MessageOverride hook) {
  std::lock_guard lock(g_overrideMutex);
  g_override = std::move(hook);
}

std::string ErrorMessageText(std::int32_t code) {
  if (std::optional<std::string> text = OwnText(code)) return *text;
  std::string text = OwnText(kUnknownErrorCode).value_or(kBuiltInUnknownErrorText);
  text += " : ";
  text += std::to_string(code);
  if (text.size() > kMessageTextMaxLength) text.resize(kMessageTextMaxLength);
  return text;
}

}  // namespace vel::services
