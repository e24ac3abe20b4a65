#pragma once
// The one-time runtime settings set-up (locale settings and the environment file), run by the
// program's initialisation before any window opens.

#include <functional>

namespace vel::services {

/// Sets the routine that loads the runtime settings; the locale settings service installs it.
void SetRuntimeSettingsLoader(std::function<void()> loader);

/// Whether a loader is installed (a test or an embedding program may install its own before
/// the services initialise).
bool HasRuntimeSettingsLoader();

/// Runs the loader if it has not run yet; returns whether it ran now. Without a loader nothing
/// runs and a later call may still run one installed meanwhile.
bool RunRuntimeSettingsSetUpOnce();

/// Whether the loader has run.
bool RuntimeSettingsLoaded();

/// Removes the loader and forgets that it ran, as at program start. A program never needs this;
/// tests that check the once-only set-up start from it, whatever ran before them.
void ResetRuntimeSettingsSetUp();

}  // namespace vel::services
