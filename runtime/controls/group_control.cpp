#include "runtime/controls/group_control.h"

#include <algorithm>

#include "runtime/controls/control_dispatcher.h"
#include "runtime/controls/control_factory.h"
#include "runtime/controls/control_font.h"
#include "runtime/windows/query_messages.h"

namespace vel::controls {
namespace {

ControlClassDescriptor g_groupClass{"VelGroup", "Button", 0};

/// Where the text starts, from the frame's left edge.
constexpr int kTextIndent = 8;

}  // namespace

GroupControl::GroupControl(const windows::Record& record) : OptionControl(record) {}

void GroupControl::Construct(const windows::Record& record) {
  CreateContainerWindow(record, g_groupClass, ControlWindowProcedure<g_groupClass>);
}

bool GroupControl::HasOwnColours() const {
  return std::any_of(std::begin(m_colours.values), std::end(m_colours.values),
                     [](std::uint32_t value) { return value != windows::kNoColour; });
}

LRESULT GroupControl::HandleMessage(UINT message, WPARAM, LPARAM, bool& passOn) {
  switch (message) {
    case windows::kCanTabMessage: passOn = false; return 0;
    case WM_PAINT: {
      if (!HasOwnColours()) return 0;
      passOn = false;
      PAINTSTRUCT paint{};
      HDC dc = BeginPaint(m_handle, &paint);
      if (dc != nullptr) Paint(dc);
      EndPaint(m_handle, &paint);
      return 0;
    }
    default: return 0;
  }
}

void GroupControl::Paint(HDC dc) {
  RECT area{};
  GetClientRect(m_handle, &area);
  HGDIOBJ previousFont = m_font ? SelectObject(dc, m_font->Handle()) : nullptr;
  std::string text = CurrentText();
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  RECT frame = area;
  frame.top += metrics.tmHeight / 2;
  if (m_colours.values[1] != windows::kNoColour) {
    FrameRect(dc, &frame, BrushForColourValue(m_colours.values[1]));
  } else {
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  }
  if (!text.empty()) {
    RECT textArea{area.left + kTextIndent, area.top, area.right - kTextIndent, area.top + metrics.tmHeight};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textArea, DT_SINGLELINE | DT_CALCRECT);
    // The text stands on the group's background, which breaks the frame's top edge behind it.
    RECT behind{textArea.left - 2, textArea.top, textArea.right + 2, textArea.bottom};
    FillRect(dc, &behind, BackgroundBrush());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, IsWindowEnabled(m_handle)
                         ? ColourOfValue(m_font ? m_font->TextColour() : kWindowTextColourValue)
                         : GetSysColor(COLOR_GRAYTEXT));
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textArea, DT_SINGLELINE);
  }
  if (previousFont != nullptr) SelectObject(dc, previousFont);
}

void RegisterGroupKind() { RegisterControlKind(windows::kKindGroup, CreateKind<GroupControl>); }

}  // namespace vel::controls
