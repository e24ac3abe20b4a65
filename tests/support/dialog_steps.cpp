#include "tests/support/dialog_steps.h"

#include "platform/user/dialog_box.h"

namespace vel::platform::testing {

DialogSteps::DialogSteps(std::vector<Step> steps) : m_steps(std::move(steps)) {
  SetModalDialogDriver([this](HWND dialog) {
    if (m_next >= m_steps.size()) return false;
    Step step = m_steps[m_next++];
    step(dialog);
    return true;
  });
}

DialogSteps::~DialogSteps() { SetModalDialogDriver(nullptr); }

std::string ControlText(HWND dialog, int id) {
  char text[1024] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

POINT ControlCentre(HWND dialog, int id) {
  RECT rect{};
  GetWindowRect(GetDlgItem(dialog, id), &rect);
  return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

POINT ListRowPoint(HWND dialog, int id, int row) {
  HWND list = GetDlgItem(dialog, id);
  RECT item{};
  SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  POINT point{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
  ClientToScreen(list, &point);
  return point;
}

std::vector<std::string> ListRows(HWND dialog, int id) {
  std::vector<std::string> rows;
  auto count = SendDlgItemMessageA(dialog, id, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    char text[512] = {};
    SendDlgItemMessageA(dialog, id, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    rows.emplace_back(text);
  }
  return rows;
}

}  // namespace vel::platform::testing
