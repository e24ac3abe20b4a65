#pragma once
// The mouse cursors of the desktop backend: each cursor handle the program shows becomes an SDL
// cursor once (a system cursor for the standard shapes SDL has, a colour cursor made from the
// handle's picture for the rest) and is kept until the handle is destroyed. Used only by the
// thread that runs SDL.

#include <SDL.h>

#include <memory>
#include <string>
#include <unordered_map>

#include "win32.h"

namespace vel::platform {

class IconObject;

class SdlCursors {
 public:
  SdlCursors() = default;
  ~SdlCursors();
  SdlCursors(const SdlCursors&) = delete;
  SdlCursors& operator=(const SdlCursors&) = delete;

  /// Shows a cursor over the program's windows; null hides the cursor.
  void Show(HCURSOR cursor);
  /// Frees what was made for cursors the program has destroyed since.
  void ForgetDestroyed();

 private:
  struct Made {
    std::weak_ptr<IconObject> object;
    SDL_Cursor* cursor = nullptr;
    std::string description;
  };

  /// The SDL cursor for a handle, made on first use; null when the handle names no cursor.
  const Made* Find(HCURSOR cursor);
  void Free(Made& made);

  std::unordered_map<HCURSOR, Made> m_made;
  SDL_Cursor* m_shown = nullptr;
};

}  // namespace vel::platform
