#pragma once
// The runtime version check: a program states which runtime it was built for, and the runtime
// refuses to run it when it is newer than this runtime or was built with a pre-release toolchain.

#include "win32.h"

namespace vel::services {

/// The version a program asks for: the version word (bit 8 set for release toolchains, the low
/// four bits the major number), the minor number and the sub-release.
struct RequestedVersion {
  DWORD versionWord;
  UINT minor;
  UINT subRelease;
};

/// This runtime's own version, 4.002.00.
inline constexpr UINT kRuntimeMajor = 4;
inline constexpr UINT kRuntimeMinor = 2;
inline constexpr UINT kRuntimeSubRelease = 0;

/// What the check recorded: the program's request and this runtime's own version.
struct RuntimeVersionRecord {
  UINT requestedMajor = 0;
  UINT requestedMinor = 0;
  UINT requestedSubRelease = 0;
  UINT runtimeMajor = kRuntimeMajor;
  UINT runtimeMinor = kRuntimeMinor;
  UINT runtimeSubRelease = kRuntimeSubRelease;
};

/// The only version word this runtime accepts.
inline constexpr DWORD kAcceptedVersionWord = 0x104;

/// The caption of the boxes the check shows.
inline constexpr const char* kRuntimeLibraryCaption = "Velmora 4 Runtime Library";

/// Accepts version word 0x104 with a minor number up to this runtime's and records the request
/// (the sub-release is recorded, not compared). Otherwise shows the matching refusal in a stop
/// box and returns false.
bool CheckRuntimeVersion(DWORD versionWord, UINT minor, UINT subRelease);
inline bool CheckRuntimeVersion(const RequestedVersion& version) {
  return CheckRuntimeVersion(version.versionWord, version.minor, version.subRelease);
}

/// The record as the last successful check left it.
const RuntimeVersionRecord& RuntimeVersion();

/// The runtime's version as major * 1000 + minor (4002), as the system property shows it.
UINT RuntimeVersionNumber();
/// The program's requested version the same way (0 before a successful check).
UINT RequestedVersionNumber();

}  // namespace vel::services
