// The entry's keys, characters, clipboard and mouse, and how it shows its text and caret.

#include <algorithm>
#include <cstring>

#include "runtime/controls/entry_control.h"
#include "runtime/values/char_tables.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/window_object.h"

namespace vel::controls {
namespace {

constexpr unsigned char kCtrlC = 0x03;
constexpr unsigned char kBackspace = 0x08;
constexpr unsigned char kTab = 0x09;
constexpr unsigned char kLineFeed = 0x0A;
constexpr unsigned char kCarriageReturn = 0x0D;
constexpr unsigned char kCtrlV = 0x16;
constexpr unsigned char kCtrlX = 0x18;
constexpr unsigned char kCtrlZ = 0x1A;
constexpr unsigned char kEscape = 0x1B;
constexpr unsigned char kDelete = 0x7F;
constexpr unsigned char kApostrophe = '\'';
constexpr unsigned char kFirstAccented = 0xC0;

bool KeyHeld(int key) { return GetKeyState(key) < 0; }

bool IsAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

CharWidthFunction EntryControl::Widths() const {
  const FontObject* font = m_font.get();
  if (font != nullptr) return [font](unsigned char c) { return font->CharWidth(c); };
  return [this](unsigned char c) {
    char text = static_cast<char>(c);
    return TextExtent(std::string_view(&text, 1));
  };
}

std::string EntryControl::ShownText() const {
  if (m_editMode & kModePassword) return std::string(m_buffer.Text().size(), '*');
  return m_buffer.Text();
}

EntryLook EntryControl::Look() const {
  EntryLook look;
  GetClientRect(m_handle, &look.area);
  look.firstVisible = Scrolls() ? m_buffer.FirstVisible() : 0;
  if (Focused()) {
    look.selectionStart = m_buffer.SelectionStart();
    look.selectionEnd = m_buffer.SelectionEnd();
  }
  look.justification = m_attributes & kAttrJustifyMask;
  look.offset = m_justifyOffset;
  look.charHeight = FontHeight();
  look.transparent = HasAttribute(kAttrTransparent);
  look.framed = m_framed;
  look.threeDimensional = HasAttribute(kAttrThreeDimensional);
  look.font = m_font ? m_font->Handle() : nullptr;
  return look;
}

int EntryControl::TextAreaWidth() const {
  EntryLook look = Look();
  EntryPlacement placement = PlaceEntryText(look, Widths());
  return std::max(1, static_cast<int>(placement.textArea.right - placement.textX) - 1);
}

void EntryControl::OnPaint() {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(m_handle, &paint);
  if (dc != nullptr) {
    std::string shown = ShownText();
    EntryLook look = Look();
    look.text = shown;
    char decimal = '.';
    for (int i = 0; i < m_picture.Compiled().PositionCount(); ++i) {
      if (m_picture.Compiled().positions[i].code == values::kDecimalSeparator)
        decimal = static_cast<char>(m_picture.Compiled().positions[i].fill);
    }
    std::size_t point = shown.find(decimal);
    look.decimalIndex = static_cast<int>(point == std::string::npos ? shown.size() : point);
    look.textColour = !IsWindowEnabled(m_handle)
                          ? GetSysColor(COLOR_GRAYTEXT)
                          : ColourOfValue(m_font ? m_font->TextColour() : kWindowTextColourValue);
    look.background = BackgroundBrush();
    PaintEntry(dc, look, Widths());
  }
  EndPaint(m_handle, &paint);
}

void EntryControl::Redraw() {
  if (m_handle != nullptr) InvalidateRect(m_handle, nullptr, FALSE);
}

void EntryControl::PlaceCaret() {
  if (m_handle == nullptr || GetFocus() != m_handle) return;
  EntryLook look = Look();
  std::string shown = ShownText();
  look.text = shown;
  EntryPlacement placement = PlaceEntryText(look, Widths());
  int x = placement.textX + m_buffer.Width(Widths(), look.firstVisible, m_buffer.Caret());
  SetCaretPos(std::min<int>(x, placement.textArea.right - 1), EntryTextTop(look, placement));
}

void EntryControl::AfterChange(bool) {
  if (Scrolls()) m_buffer.ScrollToCaret(Widths(), TextAreaWidth());
  Redraw();
  PlaceCaret();
  if (HasAttribute(kAttrImmediate)) PostFieldEvent(windows::EVENT_NewSelection);
  if (HasAttribute(kAttrReportChanges) || (m_editorState & kEditReportChanges)) {
    SendMessageA(GetParent(m_handle), kEntryChangedMessage, reinterpret_cast<WPARAM>(m_handle),
                 reinterpret_cast<LPARAM>(static_cast<ControlBase*>(this)));
  }
}

void EntryControl::OnKeyDown(WPARAM key) {
  if (HandleClassKey(key)) return;
  const bool shift = KeyHeld(VK_SHIFT);
  const bool control = KeyHeld(VK_CONTROL);
  int target = m_buffer.Caret();
  switch (key) {
    case VK_ESCAPE:
      Undo();
      NotifySkipControlUsed();
      return;
    case VK_RETURN:
    case VK_TAB: NotifySkipControlUsed(); return;
    case VK_HOME: target = m_template ? m_template->FirstEditable() : 0; break;
    case VK_END: target = m_buffer.Length(); break;
    case VK_LEFT:
      if (control) {
        target = m_buffer.WordStartBefore(target);
      } else if (m_template) {
        target = std::max(m_template->PreviousEditable(target), 0);
      } else {
        target = target - 1;
      }
      break;
    case VK_RIGHT:
      if (control) {
        target = m_buffer.NextWordStart(target);
      } else if (m_template) {
        target = m_template->NextEditable(target + 1);
      } else {
        target = target + 1;
      }
      break;
    case VK_DELETE: OnChar(kDelete); return;
    default: return;
  }
  m_buffer.MoveCaret(target, shift);
  AfterChange(false);
}

bool EntryControl::DeleteSelectionFirst() {
  if (!m_buffer.HasSelection()) return false;
  if (m_template) {
    std::string text = m_buffer.Text();
    int start = m_buffer.SelectionStart();
    m_template->ClearRange(text, start, m_buffer.SelectionEnd());
    m_buffer.SetText(text);
    m_buffer.MoveCaret(start, false);
    m_buffer.SetModified(true);
  } else {
    m_buffer.DeleteSelection();
  }
  AfterChange(true);
  return true;
}

void EntryControl::OnChar(WPARAM wParam) {
  const auto character = static_cast<unsigned char>(wParam);
  if (m_editMode & kModeReadOnly) {
    if (character == kCtrlC) CopySelection();
    return;
  }
  if (character == kCtrlZ) {
    Undo();
    return;
  }
  if (character == kCtrlC || character == kCtrlX) {
    if (!(m_editMode & kModePassword)) CopySelection();
    if (character == kCtrlC) return;
    DeleteSelectionFirst();
    return;
  }
  if (character == kLineFeed || character == kCarriageReturn || character == kTab || character == kEscape) return;
  const std::uint8_t first = m_font ? m_font->FirstChar() : 0x20;
  const std::uint8_t last = m_font ? m_font->LastChar() : 0xFF;
  const bool special = character == kBackspace || character == kCtrlV || character == kDelete;
  if (!special && (character < first || character > last)) {
    MessageBeep(0);
    return;
  }
  if (DeleteSelectionFirst() && (character == kBackspace || character == kDelete)) return;

  bool changed = false;
  if (character == kBackspace || character == kDelete) {
    if (m_template) {
      std::string text = m_buffer.Text();
      int caret = m_buffer.Caret();
      changed = character == kBackspace ? m_template->ClearBefore(text, caret) : m_template->ClearAt(text, caret);
      if (changed) {
        m_buffer.SetText(text);
        m_buffer.MoveCaret(caret, false);
        m_buffer.SetModified(true);
      }
    } else {
      changed = character == kBackspace ? m_buffer.DeleteBackward() : m_buffer.DeleteForward();
    }
  } else if (character == kCtrlV) {
    Paste();
    return;
  } else {
    TypeCharacter(character);
    return;
  }
  if (changed) AfterChange(true);
}

bool EntryControl::CharacterFits(unsigned char character, int replacedWidth) const {
  if (Scrolls()) return true;
  EntryLook look = Look();
  std::string shown = ShownText();
  look.text = shown;
  EntryPlacement placement = PlaceEntryText(look, Widths());
  const unsigned char drawn = (m_editMode & kModePassword) ? '*' : character;
  return Widths()(drawn) <= placement.room + replacedWidth;
}

void EntryControl::TypeCharacter(unsigned char character) {
  const int caret = m_buffer.Caret();
  if (m_editMode & kModeUpperCase) {
    character = values::ToUpperChar(character);
  } else if ((m_editMode & kModeCapitalise) && !KeyHeld(VK_SHIFT)) {
    const auto before = caret > 0 ? static_cast<unsigned char>(m_buffer.Text()[static_cast<std::size_t>(caret - 1)]) : 0;
    if (caret == 0 || !(IsAsciiLetter(before) || before == kApostrophe || before >= kFirstAccented))
      character = values::ToUpperChar(character);
  }
  if (m_template) {
    std::string text = m_buffer.Text();
    int at = caret;
    if (!m_template->Type(text, at, character)) {
      MessageBeep(0);
      return;
    }
    m_buffer.SetText(text);
    m_buffer.MoveCaret(at, false);
    m_buffer.SetModified(true);
    AfterChange(true);
    return;
  }
  const bool overwriting = !InsertMode() && caret < m_buffer.Length();
  const int replacedWidth =
      overwriting ? Widths()(static_cast<unsigned char>(m_buffer.Text()[static_cast<std::size_t>(caret)])) : 0;
  if (!CharacterFits(character, replacedWidth)) {
    MessageBeep(0);
    return;
  }
  const char typed = static_cast<char>(character);
  if (!(overwriting ? m_buffer.Overwrite(typed) : m_buffer.Insert(std::string_view(&typed, 1)))) {
    MessageBeep(0);
    return;
  }
  AfterChange(true);
}

void EntryControl::Undo() {
  m_reload = true;
  LoadForEditing();
  if (Focused()) m_buffer.SelectAll();
  AfterChange(true);
}

void EntryControl::CopySelection() const {
  if (!m_buffer.HasSelection() || !OpenClipboard(m_handle)) return;
  std::string text = m_buffer.SelectedText();
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (block != nullptr) {
    auto* bytes = static_cast<char*>(GlobalLock(block));
    if (bytes != nullptr) {
      std::memcpy(bytes, text.data(), text.size());
      bytes[text.size()] = '\0';
      GlobalUnlock(block);
      SetClipboardData(CF_TEXT, block);
    } else {
      GlobalFree(block);
    }
  }
  CloseClipboard();
}

void EntryControl::Paste() {
  if (!OpenClipboard(m_handle)) return;
  std::string text;
  if (HANDLE block = GetClipboardData(CF_TEXT)) {
    if (const auto* bytes = static_cast<const char*>(GlobalLock(block))) {
      text.assign(bytes, strnlen(bytes, GlobalSize(block)));
      GlobalUnlock(block);
    }
  }
  CloseClipboard();
  const std::uint8_t first = m_font ? m_font->FirstChar() : 0x20;
  const std::uint8_t last = m_font ? m_font->LastChar() : 0xFF;
  const char replacement = static_cast<char>(m_font ? m_font->DefaultChar() : '?');
  for (char& c : text) {
    auto code = static_cast<unsigned char>(c);
    if (code < first || code > last) c = replacement;
  }
  if (text.empty()) return;
  if (m_template) {
    std::string filled = m_buffer.Text();
    int at = m_buffer.Caret();
    for (char c : text) m_template->Type(filled, at, static_cast<unsigned char>(c));
    m_buffer.SetText(filled);
    m_buffer.MoveCaret(at, false);
    m_buffer.SetModified(true);
    AfterChange(true);
    return;
  }
  if (static_cast<std::int64_t>(m_buffer.Length()) + static_cast<std::int64_t>(text.size()) > m_buffer.Limit()) {
    MessageBeep(0);
    return;
  }
  if (!Scrolls()) {
    EntryLook look = Look();
    std::string shown = ShownText();
    look.text = shown;
    int width = 0;
    for (char c : text) width += Widths()((m_editMode & kModePassword) ? '*' : static_cast<unsigned char>(c));
    if (width > PlaceEntryText(look, Widths()).room) {
      MessageBeep(0);
      return;
    }
  }
  m_buffer.Insert(text);
  AfterChange(true);
}

void EntryControl::OnMouse(UINT message, LPARAM lParam) {
  const int x = static_cast<short>(LOWORD(lParam));
  auto positionAt = [&](int pixel) {
    EntryLook look = Look();
    std::string shown = ShownText();
    look.text = shown;
    EntryPlacement placement = PlaceEntryText(look, Widths());
    if (pixel < placement.textArea.left && look.firstVisible > 0) return look.firstVisible - 1;
    return m_buffer.PositionAt(Widths(), pixel - placement.textX);
  };
  switch (message) {
    case WM_LBUTTONDOWN:
      if (GetFocus() != m_handle) {
        m_editorState |= kEditFocusByMouse;
        SetFocus(m_handle);
        if (GetFocus() != m_handle) return;
      }
      SetCapture(m_handle);
      m_editorState |= kEditMouseSelecting;
      m_buffer.MoveCaret(positionAt(x), KeyHeld(VK_SHIFT));
      AfterChange(false);
      return;
    case WM_MOUSEMOVE:
      if (!(m_editorState & kEditMouseSelecting)) return;
      m_buffer.MoveCaret(positionAt(x), true);
      AfterChange(false);
      return;
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
      if (m_editorState & kEditMouseSelecting) {
        m_editorState &= ~kEditMouseSelecting;
        if (GetCapture() == m_handle) ReleaseCapture();
      }
      // A skip entry gives the focus back once the button is released on it.
      if (message == WM_LBUTTONUP) NotifySkipControlUsed();
      return;
    case WM_LBUTTONDBLCLK:
      m_buffer.SelectWordAt(m_buffer.Caret());
      Redraw();
      PlaceCaret();
      if (HasAttribute(kAttrImmediate)) PostFieldEvent(windows::EVENT_NewSelection);
      return;
    default: return;
  }
}

}  // namespace vel::controls
