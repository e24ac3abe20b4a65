// Drawing of the single-line "Edit" class, and the measuring that places its caret: the text
// from the first visible character, the selection in the highlight colours while the control
// has the focus (or always with ES_NOHIDESEL), grey text when disabled. The background comes
// from the parent through WM_CTLCOLOREDIT, or WM_CTLCOLORSTATIC for a read-only or disabled
// control.

#include <algorithm>

#include "platform/user/control_drawing.h"
#include "platform/user/edit_state.h"

namespace vel::platform {
namespace {

DWORD EditStyle(HWND edit) { return static_cast<DWORD>(GetWindowLongPtrA(edit, GWL_STYLE)); }
HFONT EditFont(HWND edit) { return FontOrDefault(reinterpret_cast<HFONT>(GetWindowLongPtrA(edit, kEditFontOffset))); }

// A DC of the control with its font selected, for measuring.
class MeasuringDc {
 public:
  explicit MeasuringDc(HWND edit) : m_edit(edit), m_dc(GetDC(edit)) {
    if (m_dc != nullptr) m_old = SelectObject(m_dc, EditFont(edit));
  }
  ~MeasuringDc() {
    if (m_dc == nullptr) return;
    SelectObject(m_dc, m_old);
    ReleaseDC(m_edit, m_dc);
  }
  MeasuringDc(const MeasuringDc&) = delete;
  MeasuringDc& operator=(const MeasuringDc&) = delete;

  int Width(const std::string& text, size_t from, size_t to) const {
    if (m_dc == nullptr || to <= from) return 0;
    SIZE size{};
    GetTextExtentPoint32A(m_dc, text.data() + from, static_cast<int>(to - from), &size);
    return size.cx;
  }
  int Height() const {
    TEXTMETRICA metrics{};
    if (m_dc != nullptr) GetTextMetricsA(m_dc, &metrics);
    return metrics.tmHeight;
  }

 private:
  HWND m_edit;
  HDC m_dc;
  HGDIOBJ m_old = nullptr;
};

int ClientWidth(HWND edit) {
  RECT client{};
  GetClientRect(edit, &client);
  return client.right - client.left;
}

}  // namespace

std::string DisplayedEditText(HWND edit, const EditState& state) {
  if ((EditStyle(edit) & ES_PASSWORD) || state.passwordChar != 0) {
    return std::string(state.text.size(), state.passwordChar != 0 ? state.passwordChar : '*');
  }
  return state.text;
}

int EditCharacterX(HWND edit, const EditState& state, size_t position) {
  MeasuringDc measure(edit);
  std::string shown = DisplayedEditText(edit, state);
  position = std::min(position, shown.size());
  if (position >= state.firstVisible) return kEditMargin + measure.Width(shown, state.firstVisible, position);
  return kEditMargin - measure.Width(shown, position, state.firstVisible);
}

size_t EditCharacterAt(HWND edit, const EditState& state, int x) {
  MeasuringDc measure(edit);
  std::string shown = DisplayedEditText(edit, state);
  size_t first = std::min(state.firstVisible, shown.size());
  if (x <= kEditMargin) return first;
  // Widths of growing prefixes only grow, so the nearest boundary is found by halving.
  size_t low = first;
  size_t high = shown.size();
  while (low < high) {
    size_t middle = (low + high + 1) / 2;
    if (kEditMargin + measure.Width(shown, first, middle) <= x) {
      low = middle;
    } else {
      high = middle - 1;
    }
  }
  if (low < shown.size()) {
    int left = kEditMargin + measure.Width(shown, first, low);
    int right = kEditMargin + measure.Width(shown, first, low + 1);
    if (x - left > right - x) ++low;
  }
  return low;
}

void ScrollEditToCaret(HWND edit, EditState& state) {
  MeasuringDc measure(edit);
  std::string shown = DisplayedEditText(edit, state);
  int room = std::max(1, ClientWidth(edit) - 2 * kEditMargin);
  state.firstVisible = std::min(state.firstVisible, shown.size());
  if (EditStyle(edit) & ES_AUTOHSCROLL) {
    if (state.caret < state.firstVisible) {
      // Moving left past the edge scrolls a third of the width back into view, as typing
      // backwards expects to see what came before.
      size_t first = state.caret;
      while (first > 0 && measure.Width(shown, first - 1, state.caret) < room / 3) --first;
      state.firstVisible = first;
    }
    while (state.firstVisible < state.caret && measure.Width(shown, state.firstVisible, state.caret) > room) {
      ++state.firstVisible;
    }
  } else {
    state.firstVisible = 0;
  }
  if (GetFocus() == edit) {
    SetCaretPos(kEditMargin + measure.Width(shown, state.firstVisible, state.caret), 1);
  }
}

void PaintEdit(HWND edit, HDC dc) {
  EditState* state = EditStateOf(edit);
  if (state == nullptr) return;
  DWORD style = EditStyle(edit);
  bool enabled = IsWindowEnabled(edit) != FALSE;
  RECT client{};
  GetClientRect(edit, &client);
  int saved = SaveDC(dc);
  SelectObject(dc, EditFont(edit));
  UINT colorMessage = (!enabled || (style & ES_READONLY)) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
  HBRUSH background = ControlColors(edit, dc, colorMessage);
  FillRect(dc, &client, background);
  if (!enabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  std::string shown = DisplayedEditText(edit, *state);
  size_t first = std::min(state->firstVisible, shown.size());
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  int top = 1;
  SetBkMode(dc, TRANSPARENT);
  RECT clip{client.left + 1, client.top, client.right - 1, client.bottom};
  IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
  TextOutA(dc, kEditMargin, top, shown.data() + first, static_cast<int>(shown.size() - first));
  bool showSelection = state->HasSelection() && (GetFocus() == edit || (style & ES_NOHIDESEL));
  if (showSelection) {
    size_t start = std::max(state->SelectionStart(), first);
    size_t end = state->SelectionEnd();
    if (end > start) {
      SIZE before{};
      SIZE selected{};
      GetTextExtentPoint32A(dc, shown.data() + first, static_cast<int>(start - first), &before);
      GetTextExtentPoint32A(dc, shown.data() + start, static_cast<int>(end - start), &selected);
      RECT band{kEditMargin + before.cx, top, kEditMargin + before.cx + selected.cx, top + metrics.tmHeight};
      FillRect(dc, &band, GetSysColorBrush(COLOR_HIGHLIGHT));
      SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
      TextOutA(dc, band.left, top, shown.data() + start, static_cast<int>(end - start));
    }
  }
  RestoreDC(dc, saved);
}

}  // namespace vel::platform
