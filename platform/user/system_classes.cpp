// The classes every program may use without registering them: the dialog class and the
// standard controls (which programs may superclass through GetClassInfoA and CallWindowProcA).

#include <mutex>

#include "platform/user/combo_box_state.h"
#include "platform/user/edit_state.h"
#include "platform/user/list_box_state.h"
#include "platform/user/standard_controls.h"
#include "platform/user/window_class.h"
#include "platform/user/window_tree.h"

namespace vel::platform {
namespace {

LRESULT CALLBACK DialogProcedure(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  return DefDlgProcA(hWnd, Msg, wParam, lParam);
}

}  // namespace

void RegisterSystemClasses() {
  static std::once_flag once;
  std::call_once(once, [] {
    auto add = [](const char* name, UINT style, WNDPROC procedure, int extraBytes, HBRUSH background) {
      WNDCLASSEXA description{sizeof(WNDCLASSEXA), style | CS_GLOBALCLASS, procedure, 0, extraBytes,
                              nullptr, nullptr, nullptr, background, nullptr, name, nullptr};
      AddWindowClass(description);
    };
    add("#32770", CS_DBLCLKS | CS_SAVEBITS, DialogProcedure, DLGWINDOWEXTRA,
        reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
    add("Button", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW | CS_PARENTDC, ButtonProcedure, kButtonExtraBytes, nullptr);
    add("Static", CS_DBLCLKS | CS_PARENTDC, StaticProcedure, kStaticExtraBytes, nullptr);
    add("Edit", CS_DBLCLKS | CS_PARENTDC, EditProcedure, kEditExtraBytes, nullptr);
    add("ListBox", CS_DBLCLKS | CS_PARENTDC, ListBoxProcedure, kListBoxExtraBytes, nullptr);
    add("ComboBox", CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW, ComboBoxProcedure, kComboExtraBytes, nullptr);
    add("ComboLBox", CS_DBLCLKS | CS_SAVEBITS, ComboListProcedure, kListBoxExtraBytes, nullptr);
  });
}

}  // namespace vel::platform
