#include "platform/display/sdl/sdl_cursors.h"

#include <mutex>
#include <optional>

#include "platform/display/sdl/desktop_pictures.h"
#include "platform/display/sdl/sdl_display.h"
#include "platform/gdi/icon_object.h"

namespace vel::platform {
namespace {

std::mutex g_descriptionMutex;
std::string g_description = "default";

void Describe(std::string description) {
  std::lock_guard lock(g_descriptionMutex);
  g_description = std::move(description);
}

/// The SDL shape for a stock cursor, if SDL has one (it has no upward arrow).
std::optional<SDL_SystemCursor> SystemCursorFor(WORD id) {
  switch (id) {
    case 32512: return SDL_SYSTEM_CURSOR_ARROW;
    case 32513: return SDL_SYSTEM_CURSOR_IBEAM;
    case 32514: return SDL_SYSTEM_CURSOR_WAIT;
    case 32515: return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case 32642: return SDL_SYSTEM_CURSOR_SIZENWSE;
    case 32643: return SDL_SYSTEM_CURSOR_SIZENESW;
    case 32644: return SDL_SYSTEM_CURSOR_SIZEWE;
    case 32645: return SDL_SYSTEM_CURSOR_SIZENS;
    case 32646: return SDL_SYSTEM_CURSOR_SIZEALL;
    case 32648: return SDL_SYSTEM_CURSOR_NO;
    case 32649: return SDL_SYSTEM_CURSOR_HAND;
    case 32650: return SDL_SYSTEM_CURSOR_WAITARROW;
    default: return std::nullopt;
  }
}

SDL_Cursor* ColorCursor(const DesktopPicture& picture) {
  if (picture.width <= 0 || picture.height <= 0) return nullptr;
  // SDL copies the pixels into the cursor, so the surface may borrow them.
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<uint32_t*>(picture.pixels.data()), picture.width, picture.height, 32, picture.width * 4,
      SDL_PIXELFORMAT_ARGB8888);
  if (surface == nullptr) return nullptr;
  SDL_Cursor* cursor = SDL_CreateColorCursor(surface, picture.hotspot.x, picture.hotspot.y);
  SDL_FreeSurface(surface);
  return cursor;
}

}  // namespace

std::string DesktopCursorDescription() {
  std::lock_guard lock(g_descriptionMutex);
  return g_description;
}

SdlCursors::~SdlCursors() {
  for (auto& [handle, made] : m_made) Free(made);
}

void SdlCursors::Free(Made& made) {
  if (made.cursor == nullptr) return;
  // SDL goes back to its default cursor when the one it shows is freed.
  if (made.cursor == m_shown) m_shown = nullptr;
  SDL_FreeCursor(made.cursor);
  made.cursor = nullptr;
}

const SdlCursors::Made* SdlCursors::Find(HCURSOR cursor) {
  std::shared_ptr<IconObject> object = LookupIcon(cursor);
  auto found = m_made.find(cursor);
  if (found != m_made.end()) {
    // A handle destroyed and handed out again names another picture.
    if (object && found->second.object.lock() == object) return &found->second;
    Free(found->second);
    m_made.erase(found);
  }
  if (!object) return nullptr;
  Made made;
  made.object = object;
  const WORD id = StandardCursorId(cursor);
  if (std::optional<SDL_SystemCursor> shape = SystemCursorFor(id)) {
    made.cursor = SDL_CreateSystemCursor(*shape);
    made.description = "system " + std::to_string(id);
  }
  if (made.cursor == nullptr) {
    DesktopPicture picture = PictureFromIconImage(object->m_image, object->m_isIcon ? POINT{0, 0} : object->m_hotspot);
    made.cursor = ColorCursor(picture);
    made.description = "picture " + std::to_string(picture.width) + "x" + std::to_string(picture.height) + " at " +
                       std::to_string(picture.hotspot.x) + "," + std::to_string(picture.hotspot.y);
  }
  if (made.cursor == nullptr) return nullptr;
  return &m_made.emplace(cursor, std::move(made)).first->second;
}

void SdlCursors::Show(HCURSOR cursor) {
  if (cursor == nullptr) {
    SDL_ShowCursor(SDL_DISABLE);
    Describe("hidden");
    return;
  }
  const Made* made = Find(cursor);
  SDL_Cursor* shape = made != nullptr ? made->cursor : SDL_GetDefaultCursor();
  if (shape != m_shown) {
    SDL_SetCursor(shape);
    m_shown = shape;
  }
  SDL_ShowCursor(SDL_ENABLE);
  Describe(made != nullptr ? made->description : "default");
}

void SdlCursors::ForgetDestroyed() {
  for (auto it = m_made.begin(); it != m_made.end();) {
    std::shared_ptr<IconObject> object = LookupIcon(it->first);
    if (object && it->second.object.lock() == object) {
      ++it;
      continue;
    }
    Free(it->second);
    it = m_made.erase(it);
  }
}

}  // namespace vel::platform
