#pragma once
// Registered window classes: what a window of the class starts with (procedure, styles, extra
// bytes, icon, cursor, brush), looked up by name without regard to case or by atom.

#include <memory>
#include <string>
#include <vector>

#include "win32.h"

namespace vel::platform {

struct WindowClass {
  ATOM atom = 0;
  std::string name;
  UINT style = 0;
  WNDPROC procedure = nullptr;
  int classExtraBytes = 0;
  int windowExtraBytes = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HICON smallIcon = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  /// The menu name as given: text, or an integer resource id kept in menuId.
  std::string menuName;
  LPCSTR menuId = nullptr;
  std::vector<BYTE> classExtra;
  /// Windows of the class that exist; a class with windows cannot be unregistered.
  int windowCount = 0;
};

/// The class named by text or by an atom (MAKEINTATOM), registering the system classes on
/// first use. Null when there is none.
std::shared_ptr<WindowClass> FindWindowClass(LPCSTR nameOrAtom);

/// Registers the classes every program may use without registering them itself: the dialog
/// class "#32770" and the behaviour of "Button" and "Static".
void RegisterSystemClasses();

/// Registers a class (used by RegisterClassExA and by the system classes).
ATOM AddWindowClass(const WNDCLASSEXA& description);

}  // namespace vel::platform
