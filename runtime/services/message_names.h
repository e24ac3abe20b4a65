#pragma once
// Names for internal message numbers: the EVENT: names of runtime events, the runtime's private
// QUERY_ messages and the platform's window messages. Diagnostics (the fault report, trace lines)
// use them to say which message was being handled.

#include <cstddef>
#include <span>
#include <string>

#include "win32.h"

namespace vel::services {

/// One row of the message name table.
struct MessageName {
  UINT number;
  const char* name;
};

/// Rows in the message name table.
inline constexpr std::size_t kMessageNameCount = 250;

/// A buffer of this size holds every name in the table and every number written as "%#.4x".
inline constexpr std::size_t kMessageNameBufferSize = 32;

/// The table in search order.
std::span<const MessageName> MessageNameTable();

/// The name of the first row holding this number, or null when no row does.
const char* FindMessageName(UINT message);

/// Writes the message's name into the buffer, or, when the table has no row for it, the number
/// formatted as "%#.4x" ("0x1234"). The text is cut to fit and always terminated; a null buffer
/// or a size of 0 writes nothing.
void NameOfMessage(char* buffer, std::size_t bufferSize, UINT message);

/// The same as a string.
std::string NameOfMessage(UINT message);

}  // namespace vel::services
