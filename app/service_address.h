#pragma once
// The archive's search service address, the start of every query address.

#include <string>

namespace vel::app {

/// The address used when the user has set none: a host under the reserved ".invalid" domain,
/// which never resolves, so nothing is ever sent anywhere unasked. Short enough (at most 28
/// characters) that the longest query address fits the launcher's 255 characters.
inline constexpr const char* kDefaultServiceAddress = "http://archive.invalid";

/// Where the user sets the address: skarvine.INI, section "Service", key "Address".
inline constexpr const char* kServiceSection = "Service";
inline constexpr const char* kServiceAddressKey = "Address";

/// The address from the settings file, clipped of trailing blanks, or the default when the
/// key is missing or blank.
std::string ServiceAddress();

}  // namespace vel::app
