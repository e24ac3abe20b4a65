#pragma once
// The DEVMODE and DEVNAMES global memory blocks the print dialogs hand back and take in.

#include <optional>
#include <string>

#include "win32.h"

namespace vel::platform {

/// A moveable block holding a DEVNAMES for the printer: driver, device and port names.
HGLOBAL MakeDeviceNamesBlock(const std::string& device, bool isDefault);

/// A moveable block holding the DEVMODEA.
HGLOBAL MakeDeviceModeBlock(const DEVMODEA& mode);

/// The device name in a DEVNAMES block; nothing when the block is not one (its offsets point
/// outside it, or a name runs past its end).
std::optional<std::string> DeviceNameOf(HGLOBAL names);

/// The DEVMODEA in a block; nothing when the block is smaller than the size it claims.
std::optional<DEVMODEA> DeviceModeOf(HGLOBAL mode);

/// Replaces the block a request field holds (freeing the old one) with a new one.
void ReplaceBlock(HGLOBAL* field, HGLOBAL block);

}  // namespace vel::platform
