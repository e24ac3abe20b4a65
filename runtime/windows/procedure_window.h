#pragma once
// The procedure model: how a procedure opens its window, runs its ACCEPT loop and closes the
// window again, written as generated code would call the runtime.
//
//   ProcedureWindow window;
//   window.Open("skarvine$SKARV001", "P1$WINNAME", {&searchText, &author});
//   while (window.Accept()) {
//     switch (EventNumber()) { ... }
//   }
//   window.Close();
//
// The event accessors (EventNumber, EventField, AcceptedField, SelectedField, KeyCode) and the
// event operations (PostEvent, SelectField, SetTargetWindow) are in event_accessors.h.

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "runtime/windows/window_object.h"

namespace vel::windows {

class ProcedureWindow {
 public:
  ProcedureWindow() = default;
  ProcedureWindow(const ProcedureWindow&) = delete;
  ProcedureWindow& operator=(const ProcedureWindow&) = delete;

  /// Opens the window labelled `label` of the definition `qualifiedName`; its controls bind
  /// the USE variables in `useAddresses` in declaration order.
  void Open(std::string_view qualifiedName, std::string_view label, std::initializer_list<void*> useAddresses = {});
  /// The same with a USE address list built at run time.
  void Open(std::string_view qualifiedName, std::string_view label, std::span<void* const> useAddresses);

  /// One turn of the ACCEPT loop: true with an event to handle, false when the window closed.
  bool Accept();

  /// Refuses the event being handled (a CloseWindow, or a Move, Size, Restore, Maximize or
  /// Iconize that asks before it happens); the loop goes on as if it had not come.
  void Refuse();

  /// Posts an event about one of this window's fields (0 = the window).
  void Post(std::int32_t eventNumber, std::int32_t field = 0);

  /// Closes the window (error 536 when it is not open).
  void Close();

  /// Reads a window property (window_properties.h) as the string stack carries it: numbers as
  /// their decimal text. Error 536 when the window is not open.
  std::string Property(std::int32_t property);
  /// Sets a window property from text or from a number, through the string stack.
  void SetProperty(std::int32_t property, std::string_view value);
  void SetProperty(std::int32_t property, std::int64_t value);

  /// Names the idle timer of this window's ACCEPT loop: every `interval` hundredths of a
  /// second the loop posts event number `eventNumber` (an event code less 0x1400) to the
  /// window, until the window closes or the timer is named again; 0 for either stops it.
  /// Error 536 when the window is not open.
  void SetIdleTimer(std::int32_t eventNumber, std::int32_t interval);

  bool IsOpen() const { return m_object.handle != nullptr; }
  HWND Handle() const { return m_object.handle; }
  WindowObject& Object() { return m_object; }

 private:
  WindowObject m_object;
};

}  // namespace vel::windows
