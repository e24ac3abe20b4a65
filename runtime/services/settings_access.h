#pragma once
// The settings reader GETINI and the settings writer: thin adapters between the string stack
// and the platform's profile functions. Arguments come off the string stack, each clipped of
// trailing blanks and cut to its buffer: section and key 63 characters, value or default 1023,
// file name 259. An empty file name means the system's own initialisation file; a name without
// a directory lives in the Windows directory. Neither reports failure.

namespace vel::services {

/// Longest texts kept of each argument (the buffers hold one more byte for the terminator).
inline constexpr unsigned kSettingsSectionBuffer = 64;
inline constexpr unsigned kSettingsKeyBuffer = 64;
inline constexpr unsigned kSettingsValueBuffer = 1024;
inline constexpr unsigned kSettingsFileBuffer = 260;

/// The settings writer. The caller has pushed file name, value, key and section, in that order;
/// all four are taken off the stack. A key not given removes the whole section, a value not
/// given removes the key. The platform's answer is ignored.
void WriteSetting(bool keyGiven, bool valueGiven);

/// GETINI. The caller has pushed file name, default, key and section, in that order; all four
/// are taken off the stack and the value found (at most 1023 characters), or the clipped
/// default, is pushed.
void GETINI();

}  // namespace vel::services
