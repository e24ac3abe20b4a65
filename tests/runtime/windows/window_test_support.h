#pragma once
// Shared pieces of the window manager's integration tests: definitions compiled from
// declaration text, a control kind made of a plain push button, and a fixture that makes the
// test thread a runtime thread with the runtime running.

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "runtime/services/runtime_running.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/procedure_window.h"
#include "runtime/windows/resource_source.h"
#include "runtime/windows/definition_record.h"
#include "runtime/windows/window_object_controls.h"
#include "tools/vel-wdc/lib/declaration_text.h"
#include "tools/vel-wdc/lib/definition_writer.h"

namespace vel::windows::testing {

/// The event number a procedure sees for an event code.
constexpr std::int32_t Number(std::int32_t code) { return code - kEventBase; }

/// The text of a file of the source tree (the program's own declarations), by its path there.
std::string ReadSourceFile(const std::string& relativePath);

/// A control shown as a push button; it records what the window manager asks of it.
class ButtonControl final : public WindowControl {
 public:
  ButtonControl(HWND parent, const Record& record, void* useAddress);
  ~ButtonControl() override;

  std::int32_t FieldNumber() const override { return m_field; }
  bool IsField() const override { return m_field != 0; }
  HWND Handle() const override { return m_handle; }
  bool HasUseVariable() const override { return m_useAddress != nullptr; }
  void Redisplay() override { ++redisplays; }
  void StoreDisplayedValue() override { ++stores; }
  bool Validate() override;
  void SetSelection(std::int32_t start, std::int32_t end) override {
    selectionStart = start;
    selectionEnd = end;
  }
  bool OnSelected() override {
    ++selectedCount;
    return true;
  }

  int redisplays = 0;
  int stores = 0;
  int selectedCount = 0;
  std::int32_t selectionStart = 0;
  std::int32_t selectionEnd = 0;

  /// Fields whose Validate refuses.
  static std::set<std::int32_t>& Refusing();

 private:
  HWND m_handle = nullptr;
  std::int32_t m_field = 0;
  void* m_useAddress = nullptr;
};

/// A control that records what reaches it: the commands its window routes to it, and the key
/// downs, characters and edit messages its window receives. It has its definition's alert keys,
/// message text and help keyword, a hot key from the "&" in its text, and answers QUERY_PFIELD
/// as the runtime's controls do. Its window is a push button placed at its AT, read as pixels.
class RecordingControl final : public WindowControl {
 public:
  RecordingControl(HWND parent, const Record& record);
  ~RecordingControl() override;

  std::int32_t FieldNumber() const override { return m_field; }
  bool IsField() const override { return m_field != 0; }
  HWND Handle() const override { return m_handle; }
  bool HasUseVariable() const override { return false; }
  void Redisplay() override {}
  void StoreDisplayedValue() override {}
  bool Validate() override { return true; }
  void SetSelection(std::int32_t, std::int32_t) override {}
  bool OnSelected() override { return true; }
  void Command(WORD notification, HWND source) override { commands.emplace_back(notification, source); }
  std::span<const std::int32_t> AlertKeys() const override { return m_texts.keys; }
  char HotKeyCharacter() const override;
  std::string MessageText() const override { return m_texts.message.value_or(""); }
  std::string HelpKeyword() const override { return m_texts.help.value_or(""); }

  std::vector<std::pair<WORD, HWND>> commands;
  std::vector<WPARAM> keysDown;
  std::string characters;
  std::vector<UINT> editMessages;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND m_handle = nullptr;
  std::int32_t m_field = 0;
  std::string m_text;
  TextBlock m_texts;
  WNDPROC m_base = nullptr;
};

/// Installs RecordingControl for buttons (and, with `entries`, for entries too).
void UseRecordingControls(bool entries = false);

/// The recording control of a field of an open window, or null.
RecordingControl* RecordingControlOf(ProcedureWindow& window, std::int32_t field);

/// Compiles declaration text into a definition resource.
std::vector<std::uint8_t> CompileDefinitions(const std::string& text);

/// The fake module the test definitions live in.
HMODULE TestModule();

/// Makes the test thread a runtime thread with the runtime running, reads definitions from
/// memory and installs the button control for buttons and entries; undoes all of it after.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  /// Adds a definition resource under the resource name of `qualifiedName`.
  void AddDefinitions(const std::string& qualifiedName, const std::string& declarations);
  /// The same, in the test program's own module, so that the icons and cursors the
  /// definitions name are found among the test program's resources.
  void AddProgramDefinitions(const std::string& qualifiedName, const std::string& declarations);

  /// The next event number the ACCEPT loop delivers, or -1 when the loop ended. The move and
  /// size notifications a window raises when it is shown, and the focus events of the program
  /// losing and regaining activation (as when its only window is minimised), are passed over.
  std::int32_t NextEvent(ProcedureWindow& window);
  /// The next event number, whatever it is, or -1.
  std::int32_t NextEventOfAnyKind(ProcedureWindow& window);

  /// The events the loop delivers (as NextEvent filters them) while it takes the input queued
  /// so far: EVENT:Notify is posted to `window` once the thread has nothing else to handle, and
  /// the events before it are returned. Each event's key code and field are appended to
  /// `keyCodes` and `fields` when given.
  std::vector<std::int32_t> EventsWhileInputIsTaken(ProcedureWindow& window,
                                                    std::vector<std::int32_t>* keyCodes = nullptr,
                                                    std::vector<std::int32_t>* fields = nullptr);

  MemoryResourceSource m_source;
};

}  // namespace vel::windows::testing
