#pragma once
// Icons and cursors by name: the names a window definition stores (resource text, the
// platform's stock identifiers, the program's integer identifiers) and the names a procedure
// gives at run time, which may also name an icon file ("PICS.ICO", "PICS.ICO[2]"). Every
// handle says whether its holder must destroy it: shared icons (stock, or loaded from a
// module's resources) are never destroyed, icons extracted from files and copies are.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/windows/definition_types.h"
#include "win32.h"

namespace vel::windows {

struct WindowObject;

/// An icon or cursor handle and whether its holder owns it.
struct HeldIcon {
  HICON handle = nullptr;
  /// True when the holder must destroy the handle (DestroyIcon or DestroyCursor).
  bool owned = false;
};

/// Loads the icon a definition names, from `module` (the module the definition was found in)
/// or, for a stock name, from the platform. Null handle when it cannot be loaded.
HeldIcon LoadNamedIcon(const ResourceName& name, HMODULE module);
/// The same for a cursor.
HeldIcon LoadNamedCursor(const ResourceName& name, HMODULE module);

/// Reads a name given at run time. The binary forms are the bytes 0xFF 0x01 or 0xFF 0x02 and a
/// little-endian uint16 n (identifier n - 1), optionally followed by a zero byte; anything
/// else is text. Empty for an empty name or a malformed binary name.
std::optional<ResourceName> ParseRuntimeName(std::string_view name);

/// The bytes a run-time name has for `name` (the inverse of ParseRuntimeName), so that a
/// window can report the name of an icon that came from its definition.
std::string RuntimeNameOf(const ResourceName& name);

/// A file name with an optional icon index in square brackets: "PICS.ICO[2]" is file
/// "PICS.ICO", index 2. Text that does not end in "[digits]" is all file name, index 0.
struct IconFileName {
  std::string file;
  unsigned index = 0;
};
IconFileName SplitIconFileName(std::string_view text);

/// Loads an icon by a name given at run time: a binary name or "~NAME" as in a definition,
/// any other text an icon file (ExtractIconA), optionally with its index. An answer of
/// ExtractIconA that is no icon (a file without icons) counts as failure.
HeldIcon LoadRuntimeIcon(std::string_view name, HMODULE module);
/// Loads a cursor by a name given at run time: a binary name, "~NAME" or other text, all of
/// them as in a definition (cursors are not read from files).
HeldIcon LoadRuntimeCursor(std::string_view name, HMODULE module);

/// The icon of a window whose definition names none, or whose icon cannot be loaded: a copy
/// of the program's default icon when one is set, else the program's icon resource 32523
/// (null when the program has none).
HeldIcon DefaultWindowIcon();
/// The standard arrow, the cursor of a window whose definition names none.
HeldIcon DefaultWindowCursor();

/// Sets the program-wide default window icon (null: none). The caller keeps the handle; each
/// window takes a copy of it.
void SetProgramDefaultIcon(HICON icon);

/// Destroys an owned handle (as a cursor when `cursor`) and empties `held`.
void ReleaseHeldIcon(HeldIcon& held, bool cursor);

/// Loads the icon and cursor of a window's definition (or the defaults) into `window`.
void TakeDefinitionIcons(WindowObject& window, const std::optional<ResourceName>& icon,
                         const std::optional<ResourceName>& cursor);

/// Replaces the window's icon by the one named `name` at run time (empty: the default): the
/// new icon becomes the class icon, the previous one is destroyed when the window owned it,
/// and the frame is repainted.
void ReplaceWindowIcon(WindowObject& window, std::string_view name);
/// Replaces the window's cursor likewise; the new cursor becomes the class cursor.
void ReplaceWindowCursor(WindowObject& window, std::string_view name);

/// Destroys the icon and cursor a closed window owned.
void ReleaseWindowIcons(WindowObject& window);

}  // namespace vel::windows
