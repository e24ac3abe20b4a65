#include "platform/user/message_box_layout.h"

#include <algorithm>

namespace vel::platform {
namespace {

// Classic proportions at 96 pixels per inch: push buttons of 75 by 23 pixels 6 apart, an
// 11-pixel margin round the contents, 12 pixels between icon and text and 14 between the text
// and the button row.
constexpr int kMargin = 11;
constexpr int kIconSize = 32;
constexpr int kIconGap = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;
constexpr int kTextToButtons = 14;
// Room the caption needs beside its text for the close button.
constexpr int kCaptionButtonRoom = 24;

}  // namespace

std::vector<MessageBoxButton> MessageBoxButtons(UINT flags) {
  switch (flags & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case MB_ABORTRETRYIGNORE: return {{IDABORT, "&Abort"}, {IDRETRY, "&Retry"}, {IDIGNORE, "&Ignore"}};
    case MB_YESNOCANCEL: return {{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO: return {{IDYES, "&Yes"}, {IDNO, "&No"}};
    case MB_RETRYCANCEL: return {{IDRETRY, "&Retry"}, {IDCANCEL, "Cancel"}};
    case MB_CANCELTRYCONTINUE: return {{IDCANCEL, "Cancel"}, {IDTRYAGAIN, "&Try Again"}, {IDCONTINUE, "&Continue"}};
    default: return {{IDOK, "OK"}};
  }
}

size_t DefaultButtonIndex(UINT flags, size_t count) {
  size_t index = (flags & MB_DEFMASK) >> 8;
  return index < count ? index : 0;
}

int DismissAnswer(UINT flags) {
  std::vector<MessageBoxButton> buttons = MessageBoxButtons(flags);
  for (const MessageBoxButton& button : buttons) {
    if (button.id == IDCANCEL) return IDCANCEL;
  }
  return buttons.size() == 1 && buttons.front().id == IDOK ? IDOK : 0;
}

LPCSTR MessageBoxIconResource(UINT flags) {
  switch (flags & MB_ICONMASK) {
    case MB_ICONHAND: return IDI_HAND;
    case MB_ICONQUESTION: return IDI_QUESTION;
    case MB_ICONEXCLAMATION: return IDI_EXCLAMATION;
    case MB_ICONASTERISK: return IDI_ASTERISK;
    default: return nullptr;
  }
}

MessageBoxLayout LayOutMessageBox(HDC dc, const std::string& text, bool hasIcon, size_t buttonCount,
                                  int maxTextWidth, int captionWidth, int maxClientHeight) {
  MessageBoxLayout layout;
  RECT measured{0, 0, std::max(maxTextWidth, 1), 0};
  if (!text.empty()) {
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &measured, kMessageBoxTextFormat | DT_CALCRECT);
  }
  int textWidth = static_cast<int>(measured.right - measured.left);
  int textHeight = static_cast<int>(measured.bottom - measured.top);

  int textLeft = kMargin + (hasIcon ? kIconSize + kIconGap : 0);
  int contentHeight = std::max(textHeight, hasIcon ? kIconSize : 0);
  int count = static_cast<int>(std::max<size_t>(buttonCount, 1));
  int rowWidth = count * kButtonWidth + (count - 1) * kButtonGap;

  int width = std::max({textLeft + textWidth + kMargin, rowWidth + 2 * kMargin, captionWidth + kCaptionButtonRoom});
  int height = kMargin + contentHeight + kTextToButtons + kButtonHeight + kMargin;
  if (maxClientHeight > 0 && height > maxClientHeight) {
    // Text taller than the screen is cut; the buttons stay reachable.
    contentHeight -= height - maxClientHeight;
    height = maxClientHeight;
  }
  layout.client = {width, height};

  if (hasIcon) layout.icon = {kMargin, kMargin, kMargin + kIconSize, kMargin + kIconSize};
  // A text shorter than the icon is centred beside it.
  int textTop = kMargin + (hasIcon && textHeight < kIconSize ? (kIconSize - textHeight) / 2 : 0);
  layout.text = {textLeft, textTop, textLeft + textWidth, std::min(textTop + textHeight, kMargin + contentHeight)};

  int buttonTop = height - kMargin - kButtonHeight;
  int left = (width - rowWidth) / 2;
  for (size_t i = 0; i < buttonCount; ++i) {
    layout.buttons.push_back({left, buttonTop, left + kButtonWidth, buttonTop + kButtonHeight});
    left += kButtonWidth + kButtonGap;
  }
  return layout;
}

}  // namespace vel::platform
