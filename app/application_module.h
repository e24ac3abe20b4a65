#pragma once
// The application's module: its descriptor, its initialiser table and its three program-wide
// values.

#include <cstdint>

#include "runtime/services/module_descriptor.h"
#include "runtime/services/runtime_version.h"

namespace vel::app {

/// The application module's global data area: the program-wide values the search window
/// procedure uses. All three are 0 after initialisation.
struct ApplicationGlobals {
  std::int32_t request;
  std::int32_t response;
  std::int32_t thirdRequest;
};

/// The program-wide values (the application module's global data area).
ApplicationGlobals& ProgramWideValues();

/// The application's module descriptor, registered by the program entry.
services::ModuleDescriptor& ApplicationModule();

/// The runtime version the program was built for: version word 0x104, minor 2, sub-release 0.
inline constexpr services::RequestedVersion kProgramRequestedVersion{0x104, 2, 0};

/// The application module's three routines, last in the initialiser table (priority 5).
/// Stores the constructors of the first six control kinds in the control factory.
void StoreFirstControlKinds(int call);
/// At initialise: the one-time runtime settings set-up, then the program-wide values to 0.
void InitialiseProgramWideValues(int call);
/// Stores the constructors of the four further control kinds in the control factory.
void StoreFurtherControlKinds(int call);

}  // namespace vel::app
