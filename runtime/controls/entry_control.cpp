#include "runtime/controls/entry_control.h"

#include <algorithm>
#include <cstring>

#include "runtime/controls/busy_cursor.h"
#include "runtime/controls/control_dispatcher.h"
#include "runtime/controls/control_factory.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/query_messages.h"
#include "runtime/windows/window_object.h"

namespace vel::controls {
namespace {

ControlClassDescriptor g_editClass{"VelEdit", nullptr, CS_DBLCLKS};

constexpr LRESULT kDialogCodeWantsAll = 0x8D;
constexpr LRESULT kDialogCode = 0x89;
/// The most characters of the text that conversion reads.
constexpr std::size_t kConvertedLength = 600;

HCURSOR IBeam() {
  static HCURSOR beam = LoadCursorA(nullptr, IDC_IBEAM);
  return beam;
}

}  // namespace

EntryControl::EntryControl(const windows::Record& record)
    : WindowedControl(record), m_picture(record.picture), m_editMode(m_picture.AdjustMode(record.editMode)) {
  SetState(kStateTabStopFollowsSkip, true);
  if ((m_attributes & kAttrJustifyMask) == 0) m_attributes |= kAttrJustifyLeft;
  if ((m_attributes & kAttrJustifyMask) == kAttrJustifyLeft) m_editorState |= kEditScrolls;
  if (m_picture.Kind() == 'K') {
    m_editorState |= kEditTemplate;
    m_template = std::make_unique<KeyInTemplate>(m_picture.Compiled());
  }
}

ControlClassDescriptor& EntryControl::EditClass() { return g_editClass; }

void EntryControl::CreateEditWindow(const windows::Record& record, DWORD style) {
  CreateControlWindow(&record, g_editClass, ControlWindowProcedure<g_editClass>, 0, std::nullopt, style);
}

void EntryControl::Construct(const windows::Record& record) { CreateEditWindow(record, WS_VISIBLE | WS_TABSTOP); }

void EntryControl::SetEditorState(std::uint32_t bits, bool on) {
  m_editorState = on ? m_editorState | bits : m_editorState & ~bits;
}

LRESULT EntryControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& passOn) {
  switch (message) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_SETFONT:
      passOn = false;
      OnSetFont(reinterpret_cast<HFONT>(wParam));
      return 0;
    case WM_GETFONT: passOn = false; return m_font ? reinterpret_cast<LRESULT>(m_font->Handle()) : 0;
    case WM_SIZE: Redraw(); return 0;
    case WM_MOUSEACTIVATE: passOn = false; return MA_ACTIVATE;
    case WM_SETCURSOR:
      if (LOWORD(lParam) != HTCLIENT || Cursor() != nullptr || BusyCursor() != nullptr) return 0;
      passOn = false;
      SetCursor(IBeam());
      return 1;
    case WM_SETFOCUS: OnSetFocus(); return 0;
    case WM_KILLFOCUS: OnKillFocus(reinterpret_cast<HWND>(wParam)); return 0;
    case WM_ERASEBKGND: passOn = false; return 1;
    case WM_PAINT: passOn = false; OnPaint(); return 0;
    case WM_SETTEXT: {
      passOn = false;
      const char* text = reinterpret_cast<const char*>(lParam);
      m_buffer.SetText(text != nullptr ? std::string_view(text) : std::string_view());
      if (m_template) m_buffer.SetText(m_template->Fill(m_buffer.Text()));
      Redraw();
      return 0;
    }
    case WM_GETTEXTLENGTH: passOn = false; return m_buffer.Length();
    case WM_GETTEXT: passOn = false; return OnGetText(wParam, lParam);
    case EM_GETSEL:
    case kPrivateGetSel: passOn = false; return OnGetSel(wParam, lParam);
    case EM_SETSEL:
    case kPrivateSetSel: passOn = false; OnSetSel(wParam, lParam); return 0;
    case EM_LIMITTEXT:
    case kPrivateLimitText:
      passOn = false;
      m_buffer.SetLimit(static_cast<int>(std::min<WPARAM>(wParam, 0x7FFFFFFF)));
      return 0;
    case EM_GETMODIFY:
    case EM_CANUNDO:
    case kPrivateGetModify:
    case kPrivateCanUndo: passOn = false; return m_buffer.Modified() ? 1 : 0;
    case EM_SETMODIFY:
    case kPrivateSetModify: passOn = false; m_buffer.SetModified(wParam != 0); return 0;
    case EM_UNDO:
    case WM_UNDO:
    case kPrivateUndo: passOn = false; OnChar(0x1A); return 1;
    case WM_CUT: passOn = false; OnChar(0x18); return 0;
    case WM_COPY: passOn = false; OnChar(0x03); return 0;
    case WM_PASTE: passOn = false; OnChar(0x16); return 0;
    case WM_CLEAR: passOn = false; OnChar(0x7F); return 0;
    case WM_KEYDOWN: passOn = false; OnKeyDown(wParam); return 0;
    case WM_CHAR: passOn = false; OnChar(wParam); return 0;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
    case WM_LBUTTONDBLCLK: OnMouse(message, lParam); return 0;
    case WM_GETDLGCODE: passOn = false; return DialogCode(reinterpret_cast<const MSG*>(lParam));
    case WM_ENABLE: Redraw(); return 0;
    default: return 0;
  }
}

LRESULT EntryControl::DialogCode(const MSG* key) const {
  if (HasAttribute(kAttrSkip) || (m_editorState & kEditTellEditDone)) return kDialogCodeWantsAll;
  // Escape while the text differs from the value editing began with restores that value here;
  // with nothing to restore it goes on to the window as Cancel.
  if (key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_ESCAPE && m_buffer.Modified()) {
    return kDialogCode | DLGC_WANTMESSAGE;
  }
  return kDialogCode;
}

void EntryControl::OnCreate() {
  m_buffer.SetText({});
  m_buffer.MoveCaret(0, false);
}

void EntryControl::OnSetFont(HFONT) {
  // The font object was made with the font the framework hands over; only the caret follows.
  if (Focused() && GetFocus() == m_handle) {
    HideCaret(m_handle);
    CreateCaret(m_handle, nullptr, 2 * GetSystemMetrics(SM_CYBORDER), FontHeight());
    PlaceCaret();
    ShowCaret(m_handle);
  }
  Redraw();
}

void EntryControl::OnSetFocus() {
  m_editorState &= ~kEditFocusPending;
  CreateCaret(m_handle, nullptr, 2 * GetSystemMetrics(SM_CYBORDER), FontHeight());
  if (m_editorState & kEditSuspended) {
    m_editorState &= ~kEditSuspended;
  } else {
    m_editorState |= kEditFocused;
    if (m_reload) LoadForEditing();
    m_buffer.SetLimit(m_picture.IsStringData() ? m_picture.DeclaredWidth() : EditBuffer::kDefaultLimit);
    m_buffer.MoveCaret(m_template ? m_template->FirstEditable() : m_buffer.Length(), false);
  }
  m_editorState |= kEditFocused;
  if (m_editorState & kEditSelectAllPending) {
    m_editorState &= ~kEditSelectAllPending;
    m_buffer.SelectAll();
  }
  if (Scrolls()) m_buffer.ScrollToCaret(Widths(), TextAreaWidth());
  Redraw();
  PlaceCaret();
  ShowCaret(m_handle);
}

void EntryControl::OnKillFocus(HWND receiving) {
  m_editorState &= ~(kEditFocusPending | kEditFocusByMouse);
  bool systemCommand = m_window->carryingOutCommand || (m_window->handle != nullptr && IsIconic(m_window->handle));
  auto* other = dynamic_cast<ControlBase*>(m_window->ControlOfHandle(receiving));
  bool toolbarVisit = other != nullptr && other != this && other->HasAttribute(kAttrSkip) &&
                      (other->Key() != 0 || other->InToolbar());
  if (systemCommand || toolbarVisit) {
    m_editorState |= kEditSuspended;
    return;
  }
  DestroyCaret();
  m_editorState &= ~(kEditFocused | kEditMouseSelecting);
  if (m_buffer.Modified() || !m_reload) {
    if (!Commit(true)) {
      Redraw();
      return;
    }
  }
  m_buffer.SetText(m_picture.DisplayText(ValueText()));
  Redraw();
  if (m_editorState & kEditTellEditDone) SendMessageA(GetParent(m_handle), windows::QUERY_EDITDONE, 0, 0);
}

bool EntryControl::Commit(bool report) {
  std::string typed = m_buffer.Text().substr(0, kConvertedLength);
  std::string value;
  std::int32_t error = m_picture.Read(typed, value);
  if (error == 0 && !StoreValue(value)) error = kErrorInvalidInput;
  m_error = error;
  if (error != 0) {
    m_reload = false;
    if (report && IsField() && !m_window->metrics.report) PostFieldEvent(windows::EVENT_Rejected);
    return false;
  }
  m_buffer.SetModified(false);
  m_reload = true;
  if (report) PostFieldEvent(windows::EVENT_Accepted);
  return true;
}

std::string EntryControl::ValueText() { return m_use ? m_use->Text() : std::string(); }

bool EntryControl::StoreValue(const std::string& value) {
  if (m_use) m_use->Assign(value);
  return true;
}

void EntryControl::LoadForEditing() {
  m_buffer.SetText(m_picture.EditingText(ValueText()));
  m_buffer.SetModified(false);
  m_reload = true;
}

void EntryControl::DisplayUseValue() {
  if (!m_reload || m_handle == nullptr) return;
  if (Focused()) {
    LoadForEditing();
    m_buffer.MoveCaret(m_buffer.Length(), false);
  } else {
    m_buffer.SetText(m_picture.DisplayText(ValueText()));
    m_buffer.SetModified(false);
  }
  Redraw();
  if (Focused()) PlaceCaret();
}

void EntryControl::StoreDisplayedValue() {
  if (Focused() && (m_buffer.Modified() || !m_reload)) Commit(false);
}

void EntryControl::CompleteEditing() {
  if (Focused() && (m_buffer.Modified() || !m_reload)) Commit(true);
}

bool EntryControl::Validate() {
  if (m_reload && !m_buffer.Modified()) return true;
  std::string value;
  return m_picture.Read(m_buffer.Text().substr(0, kConvertedLength), value) == 0;
}

void EntryControl::SetSelection(std::int32_t start, std::int32_t end) {
  if (m_handle != nullptr) SendMessageA(m_handle, EM_SETSEL, static_cast<WPARAM>(start), end);
}

LRESULT EntryControl::OnGetText(WPARAM capacity, LPARAM buffer) const {
  char* out = reinterpret_cast<char*>(buffer);
  if (out == nullptr || capacity == 0) return 0;
  std::size_t copied = std::min<std::size_t>(m_buffer.Text().size(), capacity - 1);
  std::memcpy(out, m_buffer.Text().data(), copied);
  out[copied] = '\0';
  return static_cast<LRESULT>(copied);
}

LRESULT EntryControl::OnGetSel(WPARAM startOut, LPARAM endOut) const {
  DWORD start = static_cast<DWORD>(m_buffer.SelectionStart());
  DWORD end = static_cast<DWORD>(m_buffer.SelectionEnd());
  if (auto* out = reinterpret_cast<DWORD*>(startOut)) *out = start;
  if (auto* out = reinterpret_cast<DWORD*>(endOut)) *out = end;
  return static_cast<LRESULT>(MAKELONG(start, end));
}

void EntryControl::OnSetSel(WPARAM start, LPARAM end) {
  // The message carries signed ends in unsigned and pointer-sized parameters.
  auto first = static_cast<std::int64_t>(static_cast<std::int32_t>(start));
  auto last = static_cast<std::int64_t>(static_cast<std::int32_t>(end));
  if (m_buffer.IsSelectAllRequest(first, last) && !Focused()) {
    m_editorState |= kEditSelectAllPending;
    return;
  }
  m_buffer.ApplySetSel(first, last);
  if (first == 0 && Scrolls()) m_buffer.ScrollFromStart(Widths(), TextAreaWidth());
  Redraw();
  if (Focused()) PlaceCaret();
}

namespace {
bool g_insertMode = true;
}  // namespace

bool InsertMode() { return g_insertMode; }
void SetInsertMode(bool on) { g_insertMode = on; }

void RegisterEntryKind() { RegisterControlKind(windows::kKindEntry, CreateKind<EntryControl>); }

}  // namespace vel::controls
