#pragma once
// The entry (control type 8): a one-line field of the runtime's own class "VelEdit" that edits
// its USE variable through its display picture. It keeps its own text, caret, selection and
// scrolling (EditBuffer), paints itself (entry_painter.h), answers the edit-control messages,
// and on losing the focus reads the text back through the picture into the variable and
// reports EVENT:Accepted, or EVENT:Rejected while the input stays for correction.

#include <cstdint>
#include <memory>
#include <string>

#include "runtime/controls/edit_buffer.h"
#include "runtime/controls/entry_painter.h"
#include "runtime/controls/entry_picture.h"
#include "runtime/controls/keyin_template.h"
#include "runtime/controls/windowed_control.h"

namespace vel::controls {

// Editor state bits.
inline constexpr std::uint32_t kEditTemplate = 0x0001;
inline constexpr std::uint32_t kEditScrolls = 0x0002;
inline constexpr std::uint32_t kEditFocused = 0x0008;
inline constexpr std::uint32_t kEditMouseSelecting = 0x0010;
inline constexpr std::uint32_t kEditSelectAllPending = 0x0040;
inline constexpr std::uint32_t kEditFocusByMouse = 0x0080;
inline constexpr std::uint32_t kEditAcceptPending = 0x0100;
inline constexpr std::uint32_t kEditTellEditDone = 0x0200;
inline constexpr std::uint32_t kEditReportChanges = 0x0400;
inline constexpr std::uint32_t kEditSuspended = 0x1000;
inline constexpr std::uint32_t kEditFocusPending = 0x2000;

/// The message an entry sends its parent after a change of text or caret, when asked to.
inline constexpr UINT kEntryChangedMessage = 0x2411;
/// The private twins of the edit-control messages.
inline constexpr UINT kPrivateGetSel = 0x0400;
inline constexpr UINT kPrivateSetSel = 0x0401;
inline constexpr UINT kPrivateGetModify = 0x0408;
inline constexpr UINT kPrivateSetModify = 0x0409;
inline constexpr UINT kPrivateLimitText = 0x0415;
inline constexpr UINT kPrivateCanUndo = 0x0416;
inline constexpr UINT kPrivateUndo = 0x0417;

class EntryControl : public WindowedControl {
 public:
  explicit EntryControl(const windows::Record& record);
  void Construct(const windows::Record& record) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& passOn) override;

  const EntryPicture& Picture() const { return m_picture; }
  std::uint8_t EditMode() const { return m_editMode; }
  std::uint32_t EditorState() const { return m_editorState; }
  const EditBuffer& Buffer() const { return m_buffer; }
  /// The error of the last conversion, 0 when it succeeded.
  std::int32_t Error() const { return m_error; }
  /// True while the text shows the variable (false: it holds rejected input).
  bool ShowsVariable() const { return m_reload; }
  /// Sets or clears editor state bits that other code asks for (QUERY_EDITDONE, 2411h).
  void SetEditorState(std::uint32_t bits, bool on);

  /// Shows the variable's value (display format, or editing format with the focus). Input that
  /// was rejected stays until it is corrected or undone.
  void DisplayUseValue() override;
  /// Stores typed text into the variable without reporting (the window is closing).
  void StoreDisplayedValue() override;
  /// Stores typed text into the variable as leaving the entry would, with EVENT:Accepted or
  /// EVENT:Rejected, while the entry keeps the focus (a button pressed by key).
  void CompleteEditing();
  /// False while the text cannot be read back through the picture.
  bool Validate() override;
  void SetSelection(std::int32_t start, std::int32_t end) override;

 protected:
  /// The class of entries and spin boxes: "VelEdit", a class of its own with CS_DBLCLKS.
  static ControlClassDescriptor& EditClass();
  /// Creates the window of an entry or spin box with `style`.
  void CreateEditWindow(const windows::Record& record, DWORD style);

  /// Reads the text through the picture into the variable. Answers true when it was stored (or
  /// nothing needed storing); `report` posts EVENT:Accepted or EVENT:Rejected.
  bool Commit(bool report);
  /// Loads the text from the variable in the editing format.
  void LoadForEditing();
  /// The variable's value as text; a spin box without a variable answers its own.
  virtual std::string ValueText();
  /// Stores a value read from the text; false when the variable refuses it.
  virtual bool StoreValue(const std::string& value);
  /// Keys the class handles before the entry's own (a spin box's arrows); true when handled.
  virtual bool HandleClassKey(WPARAM) { return false; }

  /// Everything after a change of text or caret: scroll, redraw, caret, notifications.
  void AfterChange(bool textChanged);
  void Redraw();
  /// Puts the caret where the buffer's caret is.
  void PlaceCaret();
  int TextAreaWidth() const;
  bool Scrolls() const { return (m_editorState & kEditScrolls) != 0; }
  /// True while the entry is being edited (it has the focus, or only lent it to a toolbar).
  bool Focused() const { return (m_editorState & kEditFocused) != 0; }

  EntryPicture m_picture;
  EditBuffer m_buffer;
  std::uint32_t m_editorState = 0;
  std::uint8_t m_editMode = 0;
  std::int32_t m_error = 0;
  bool m_reload = true;
  /// False when the window's own border frames the text (a spin box).
  bool m_framed = true;
  /// The template editor of a key-in picture, when editing goes through one.
  std::unique_ptr<KeyInTemplate> m_template;

 private:
  void OnCreate();
  void OnSetFont(HFONT font);
  void OnSetFocus();
  void OnKillFocus(HWND receiving);
  void OnPaint();
  void OnKeyDown(WPARAM key);
  void OnChar(WPARAM character);
  void OnMouse(UINT message, LPARAM lParam);
  /// The WM_GETDLGCODE answer for the key message `key` (null when the dialog manager asks
  /// without one).
  LRESULT DialogCode(const MSG* key) const;
  LRESULT OnGetText(WPARAM capacity, LPARAM buffer) const;
  LRESULT OnGetSel(WPARAM startOut, LPARAM endOut) const;
  void OnSetSel(WPARAM start, LPARAM end);
  void Undo();
  void CopySelection() const;
  void Paste();
  /// Deletes the selection as a character does before its own work.
  bool DeleteSelectionFirst();
  /// Inserts one typed character by the case, room and limit rules; beeps when it cannot.
  void TypeCharacter(unsigned char character);
  bool CharacterFits(unsigned char character, int replacedWidth) const;
  EntryLook Look() const;
  CharWidthFunction Widths() const;
  std::string ShownText() const;
};

/// The runtime's insert flag: typed characters are inserted (on, the default) or replace the
/// character at the caret (off).
bool InsertMode();
void SetInsertMode(bool on);

/// Stores the entry's creation function in the control factory (type 8).
void RegisterEntryKind();

}  // namespace vel::controls
