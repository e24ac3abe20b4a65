#pragma once
// Icons in the size a place needs. An icon resource or icon file usually holds the same picture
// in several sizes; a place smaller (or larger) than the standard icon looks best with the image
// drawn for a size near its own rather than the standard one shrunk. The platform's directory
// lookup (LookupIconIdFromDirectoryEx) chooses the image, for a program's icon groups and for
// icon files alike, so every caller picks the same way.

#include <string_view>

#include "runtime/windows/window_icons.h"
#include "win32.h"

namespace vel::images {

/// Loads the icon a run-time name gives (the forms windows::LoadRuntimeIcon reads) in the image
/// whose size is nearest to `size` pixels square: from the icon group of `module` for a
/// resource name, from the file's own directory for an icon file. The holder owns an icon
/// made this way. A stock icon, a file asked for by an index other than 0, a `size` of 0 or
/// less, or a source that is not a well-formed icon directory loads as LoadRuntimeIcon does.
windows::HeldIcon LoadIconNearSize(std::string_view runtimeName, HMODULE module, int size);

}  // namespace vel::images
