#pragma once
// What a message box holds and where: its buttons by type, its icon, and the placement of
// icon, word-wrapped text and button row in a client area sized to fit them.

#include <string>
#include <vector>

#include "win32.h"

namespace vel::platform {

struct MessageBoxButton {
  /// The command id, which is also the answer the button gives (IDOK, IDYES, ...).
  int id;
  /// The button's text; "&" marks its mnemonic.
  const char* text;
};

/// The buttons of a box type (MB_TYPEMASK), left to right. An unknown type shows OK.
std::vector<MessageBoxButton> MessageBoxButtons(UINT flags);

/// Index of the default button among `count` buttons (MB_DEFBUTTON1..4, the first when the
/// number is beyond the row).
size_t DefaultButtonIndex(UINT flags, size_t count);

/// The answer Esc and the close button give: IDCANCEL when the box has a Cancel button, IDOK
/// for a box whose only button is OK, 0 when neither can close the box.
int DismissAnswer(UINT flags);

/// The stock icon resource (IDI_HAND, IDI_QUESTION, ...) of MB_ICONMASK, or null for none.
LPCSTR MessageBoxIconResource(UINT flags);

/// Client coordinates of everything a box shows.
struct MessageBoxLayout {
  SIZE client{};
  RECT icon{};  ///< Empty when the box has no icon.
  RECT text{};
  std::vector<RECT> buttons;
};

/// Lays a box out for `text` in the font selected into `dc`: the text wraps at word breaks
/// no wider than `maxTextWidth`, the box grows to hold the text, the buttons and the caption
/// (`captionWidth` pixels of title text), and never grows taller than `maxClientHeight`.
MessageBoxLayout LayOutMessageBox(HDC dc, const std::string& text, bool hasIcon, size_t buttonCount,
                                  int maxTextWidth, int captionWidth, int maxClientHeight);

/// The DrawTextA format the box text is measured and drawn with.
constexpr UINT kMessageBoxTextFormat = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;

}  // namespace vel::platform
