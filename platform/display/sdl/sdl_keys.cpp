#include "platform/display/sdl/sdl_keys.h"

namespace vel::platform {
namespace {

struct KeyPair {
  SDL_Keycode sdl;
  BYTE virtualKey;
  bool extended;
};

// Keys by symbol; letters, digits and F1-F12 are computed below.
constexpr KeyPair kKeys[] = {
    {SDLK_BACKSPACE, VK_BACK, false},     {SDLK_TAB, VK_TAB, false},
    {SDLK_RETURN, VK_RETURN, false},      {SDLK_KP_ENTER, VK_RETURN, true},
    {SDLK_ESCAPE, VK_ESCAPE, false},      {SDLK_SPACE, VK_SPACE, false},
    {SDLK_PAGEUP, VK_PRIOR, true},        {SDLK_PAGEDOWN, VK_NEXT, true},
    {SDLK_END, VK_END, true},             {SDLK_HOME, VK_HOME, true},
    {SDLK_LEFT, VK_LEFT, true},           {SDLK_UP, VK_UP, true},
    {SDLK_RIGHT, VK_RIGHT, true},         {SDLK_DOWN, VK_DOWN, true},
    {SDLK_INSERT, VK_INSERT, true},       {SDLK_DELETE, VK_DELETE, true},
    {SDLK_PAUSE, VK_PAUSE, false},        {SDLK_CAPSLOCK, VK_CAPITAL, false},
    {SDLK_NUMLOCKCLEAR, VK_NUMLOCK, true}, {SDLK_SCROLLLOCK, VK_SCROLL, false},
    {SDLK_PRINTSCREEN, VK_SNAPSHOT, true}, {SDLK_APPLICATION, VK_APPS, true},
    {SDLK_LGUI, VK_LWIN, true},           {SDLK_RGUI, VK_RWIN, true},
    {SDLK_LSHIFT, VK_SHIFT, false},       {SDLK_RSHIFT, VK_SHIFT, false},
    {SDLK_LCTRL, VK_CONTROL, false},      {SDLK_RCTRL, VK_CONTROL, true},
    {SDLK_LALT, VK_MENU, false},          {SDLK_RALT, VK_MENU, true},
    {SDLK_KP_MULTIPLY, VK_MULTIPLY, false}, {SDLK_KP_PLUS, VK_ADD, false},
    {SDLK_KP_MINUS, VK_SUBTRACT, false},  {SDLK_KP_PERIOD, VK_DECIMAL, false},
    {SDLK_KP_DIVIDE, VK_DIVIDE, true},    {SDLK_SEMICOLON, VK_OEM_1, false},
    {SDLK_EQUALS, VK_OEM_PLUS, false},    {SDLK_COMMA, VK_OEM_COMMA, false},
    {SDLK_MINUS, VK_OEM_MINUS, false},    {SDLK_PERIOD, VK_OEM_PERIOD, false},
    {SDLK_SLASH, VK_OEM_2, false},        {SDLK_BACKQUOTE, VK_OEM_3, false},
    {SDLK_LEFTBRACKET, VK_OEM_4, false},  {SDLK_BACKSLASH, VK_OEM_5, false},
    {SDLK_RIGHTBRACKET, VK_OEM_6, false}, {SDLK_QUOTE, VK_OEM_7, false},
};

}  // namespace

BYTE VirtualKeyFromSdl(const SDL_Keysym& key, bool* extended) {
  *extended = false;
  const SDL_Keycode sym = key.sym;
  if (sym >= SDLK_a && sym <= SDLK_z) return static_cast<BYTE>('A' + (sym - SDLK_a));
  if (sym >= SDLK_0 && sym <= SDLK_9) return static_cast<BYTE>('0' + (sym - SDLK_0));
  if (sym >= SDLK_F1 && sym <= SDLK_F12) return static_cast<BYTE>(VK_F1 + (sym - SDLK_F1));
  if (sym >= SDLK_KP_1 && sym <= SDLK_KP_9) return static_cast<BYTE>(VK_NUMPAD0 + 1 + (sym - SDLK_KP_1));
  if (sym == SDLK_KP_0) return VK_NUMPAD0;
  for (const KeyPair& pair : kKeys) {
    if (pair.sdl == sym) {
      *extended = pair.extended;
      return pair.virtualKey;
    }
  }
  // A key the layout names by a character the table does not know (a national letter, say)
  // falls back to its position on a US keyboard.
  const SDL_Scancode code = key.scancode;
  if (code >= SDL_SCANCODE_A && code <= SDL_SCANCODE_Z) return static_cast<BYTE>('A' + (code - SDL_SCANCODE_A));
  if (code >= SDL_SCANCODE_1 && code <= SDL_SCANCODE_9) return static_cast<BYTE>('1' + (code - SDL_SCANCODE_1));
  if (code == SDL_SCANCODE_0) return '0';
  return 0;
}

}  // namespace vel::platform
