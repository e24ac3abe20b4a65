#pragma once
// The tools a tooltip control knows: which window or rectangle each covers, and where its
// text comes from.

#include <string>
#include <vector>

#include "win32.h"

namespace vel::platform {

struct TooltipTool {
  UINT flags = 0;
  /// The window that contains the tool and receives its notifications.
  HWND owner = nullptr;
  /// The tool's id; with TTF_IDISHWND the tool's own window.
  UINT_PTR id = 0;
  /// The area in the owner's client coordinates (not used with TTF_IDISHWND).
  RECT rect{};
  HINSTANCE instance = nullptr;
  /// Where the text comes from: asked of the owner, a string resource, or held here.
  bool callback = false;
  UINT resourceId = 0;
  std::string text;
  LPARAM lParam = 0;

  bool Is(HWND toolOwner, UINT_PTR toolId) const { return owner == toolOwner && id == toolId; }
  /// The window the tool covers when it is a window (TTF_IDISHWND), else null.
  HWND ToolWindow() const { return (flags & TTF_IDISHWND) ? reinterpret_cast<HWND>(id) : nullptr; }
};

/// Reads a TOOLINFOA as sent with TTM_ADDTOOLA. False when the record is too small to hold
/// the fields every version has.
bool ReadToolInfo(const TOOLINFOA* info, TooltipTool* tool);

/// Sets a tool's text source from a TOOLINFOA's lpszText and hinst.
void SetToolTextSource(TooltipTool& tool, LPCSTR text, HINSTANCE instance);

class TooltipToolList {
 public:
  /// Adds a tool; one with the same owner and id is replaced.
  void Add(const TooltipTool& tool);
  /// Removes a tool; false when there is none.
  bool Remove(HWND owner, UINT_PTR id);
  TooltipTool* Find(HWND owner, UINT_PTR id);
  size_t Count() const { return m_tools.size(); }
  const std::vector<TooltipTool>& Tools() const { return m_tools; }

  /// The tool under a point given in `window`'s client coordinates, as a mouse message for
  /// that window reports it; null for none.
  const TooltipTool* At(HWND window, POINT clientPoint) const;

 private:
  std::vector<TooltipTool> m_tools;
};

/// The text a tool shows now: asked of its owner with TTN_GETDISPINFOA when it is a callback
/// tool (a TTF_DI_SETITEM answer is kept from then on), loaded when it is a string resource.
std::string ToolText(HWND tooltip, TooltipTool& tool);

}  // namespace vel::platform
