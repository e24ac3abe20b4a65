#include "runtime/services/runtime_version.h"

#include <cstdio>

namespace vel::services {
namespace {

RuntimeVersionRecord g_record;

// Both refusals name the runtime library as "D4IRA" followed by this suffix.
constexpr const char* kLibrarySuffix = "X";

constexpr DWORD kReleaseToolchainBit = 0x100;
constexpr DWORD kMajorMask = 0xF;

}  // namespace

bool CheckRuntimeVersion(DWORD versionWord, UINT minor, UINT subRelease) {
  if (versionWord == kAcceptedVersionWord && minor <= kRuntimeMinor) {
    g_record = RuntimeVersionRecord{versionWord & kMajorMask, minor, subRelease,
                                    kRuntimeMajor, kRuntimeMinor, kRuntimeSubRelease};
    return true;
  }

  // The message is at most 255 characters; the numbers are printed unsigned so that no request
  // can produce a negative version.
  char message[256];
  if ((versionWord & kReleaseToolchainBit) == 0) {
    std::snprintf(message, sizeof message,
                  "This program or a component DLL was built using the beta release of Velmora 4\r\n"
                  "It will not operate correctly with this copy of D4IRA%s\r\n"
                  "Please obtain a new version of this program",
                  kLibrarySuffix);
  } else {
    std::snprintf(message, sizeof message,
                  "This program or a component DLL requires D4IRA%s version %u.%03u.%02u or later\r\n"
                  "This version is %u.%03u.%02u",
                  kLibrarySuffix, static_cast<unsigned>(versionWord & kMajorMask), minor, subRelease,
                  kRuntimeMajor, kRuntimeMinor, kRuntimeSubRelease);
  }
  MessageBoxA(nullptr, message, kRuntimeLibraryCaption, MB_OK | MB_ICONSTOP);
  return false;
}

const RuntimeVersionRecord& RuntimeVersion() { return g_record; }

UINT RuntimeVersionNumber() { return g_record.runtimeMajor * 1000 + g_record.runtimeMinor; }

UINT RequestedVersionNumber() { return g_record.requestedMajor * 1000 + g_record.requestedMinor; }

}  // namespace vel::services
