#pragma once
// Message texts of error codes: the environment file's overrides first, then the program's
// string resources (identifier = error code), then the unknown-error text with the code.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace vel::services {

/// Longest message text a lookup returns; longer texts are cut.
inline constexpr std::size_t kMessageTextMaxLength = 255;

/// The code whose text stands for every code without a text of its own.
inline constexpr std::int32_t kUnknownErrorCode = 81;

/// Answers the environment file's override for an error code, or nothing. The locale settings
/// install it when they read the environment file.
using MessageOverride = std::function<std::optional<std::string>(std::int32_t code)>;

/// Installs the override hook; an empty hook means no code is overridden (the default).
void SetMessageOverride(MessageOverride hook);

/// The message text of an error code, at most kMessageTextMaxLength characters: the override if
/// there is one, else the program's string resource with the code as identifier, else the text
/// of kUnknownErrorCode followed by " : " and the code in decimal. Never fails.
std::string ErrorMessageText(std::int32_t code);

}  // namespace vel::services
