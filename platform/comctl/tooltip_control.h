#pragma once
// One tooltip control: its tools, its delays and the state of the tip as the owner relays the
// mouse to it. Showing follows the pointer: resting on a tool for the initial delay shows its
// tip, moving from one tool to the next while a tip was up shows the next after the shorter
// reshow delay, the tip goes after the autopop delay, when the pointer leaves the tool or a
// button is pressed, and does not come back until the pointer has left the tool. The delays
// run on the window manager's timers, so on the headless display they follow its clock.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/comctl/tooltip_tools.h"
#include "win32.h"

namespace vel::platform {

class TooltipControl {
 public:
  explicit TooltipControl(HWND window);
  ~TooltipControl();
  TooltipControl(const TooltipControl&) = delete;
  TooltipControl& operator=(const TooltipControl&) = delete;

  /// Handles a TTM_* message; false when it is not one.
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  /// The show and autopop timers.
  void Timer(UINT_PTR id);
  void Paint();

 private:
  struct ToolKey {
    HWND owner = nullptr;
    UINT_PTR id = 0;
    bool operator==(const ToolKey&) const = default;
  };

  void RemoveTool(HWND owner, UINT_PTR id);
  void Relay(const MSG& msg);
  void PointerMoved(HWND window, POINT clientPoint);
  void StartShowTimer(UINT delay);
  void Show();
  void Pop();
  /// Pops the tip and forgets the tool under the pointer.
  void Reset();
  bool OwnerAllowsTip(const TooltipTool& tool) const;
  void SetDelay(WPARAM which, int milliseconds);
  UINT Delay(WPARAM which) const;
  void Notify(const ToolKey& key, UINT code);
  void Relayout();
  void SetShownText(const std::string& text);

  HWND m_window;
  TooltipToolList m_tools;
  bool m_active = true;
  UINT m_initial;
  UINT m_autopop;
  UINT m_reshow;
  int m_maxWidth = -1;

  std::optional<ToolKey> m_hot;
  POINT m_pointer{};
  bool m_showing = false;
  /// The tip went (button, autopop, TTM_POP) and stays away while the pointer is on the tool.
  bool m_suppressed = false;
  /// When a tip last went because the pointer moved to another tool: the next tool shows
  /// after the reshow delay if the pointer gets there within the initial delay.
  std::optional<uint64_t> m_leftShowingAt;
  std::string m_shownText;
};

/// Registers "tooltips_class32" (once).
void RegisterTooltipClass();

}  // namespace vel::platform
