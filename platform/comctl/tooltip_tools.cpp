#include "platform/comctl/tooltip_tools.h"

#include <algorithm>
#include <cstring>

namespace vel::platform {
namespace {

constexpr int kMaxResourceText = 1024;

std::string LoadResourceText(HINSTANCE instance, UINT id) {
  char buffer[kMaxResourceText] = {};
  int length = LoadStringA(instance, id, buffer, kMaxResourceText);
  return std::string(buffer, static_cast<size_t>(std::max(length, 0)));
}

}  // namespace

bool ReadToolInfo(const TOOLINFOA* info, TooltipTool* tool) {
  if (info == nullptr || info->cbSize < TTTOOLINFOA_V1_SIZE) return false;
  tool->flags = info->uFlags;
  tool->owner = info->hwnd;
  tool->id = info->uId;
  tool->rect = info->rect;
  tool->lParam = info->cbSize >= TTTOOLINFOA_V2_SIZE ? info->lParam : 0;
  SetToolTextSource(*tool, info->lpszText, info->hinst);
  return true;
}

void SetToolTextSource(TooltipTool& tool, LPCSTR text, HINSTANCE instance) {
  tool.instance = instance;
  tool.callback = text == LPSTR_TEXTCALLBACKA;
  tool.resourceId = 0;
  tool.text.clear();
  if (tool.callback) return;
  if (text != nullptr && IS_INTRESOURCE(text)) {
    tool.resourceId = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(text));
  } else if (text != nullptr) {
    tool.text = text;
  }
}

void TooltipToolList::Add(const TooltipTool& tool) {
  for (TooltipTool& existing : m_tools) {
    if (existing.Is(tool.owner, tool.id)) {
      existing = tool;
      return;
    }
  }
  m_tools.push_back(tool);
}

bool TooltipToolList::Remove(HWND owner, UINT_PTR id) {
  auto found = std::find_if(m_tools.begin(), m_tools.end(), [&](const TooltipTool& tool) { return tool.Is(owner, id); });
  if (found == m_tools.end()) return false;
  m_tools.erase(found);
  return true;
}

TooltipTool* TooltipToolList::Find(HWND owner, UINT_PTR id) {
  for (TooltipTool& tool : m_tools) {
    if (tool.Is(owner, id)) return &tool;
  }
  return nullptr;
}

const TooltipTool* TooltipToolList::At(HWND window, POINT clientPoint) const {
  if (window == nullptr) return nullptr;
  for (const TooltipTool& tool : m_tools) {
    if (HWND toolWindow = tool.ToolWindow()) {
      if (toolWindow != window) continue;
      // A window that holds the capture hears of moves outside itself.
      RECT client{};
      GetClientRect(toolWindow, &client);
      if (PtInRect(&client, clientPoint)) return &tool;
    } else if (tool.owner == window && PtInRect(&tool.rect, clientPoint)) {
      return &tool;
    }
  }
  return nullptr;
}

std::string ToolText(HWND tooltip, TooltipTool& tool) {
  if (tool.resourceId != 0) return LoadResourceText(tool.instance, tool.resourceId);
  if (!tool.callback) return tool.text;

  NMTTDISPINFOA info{};
  info.hdr.hwndFrom = tooltip;
  info.hdr.idFrom = tool.id;
  info.hdr.code = TTN_GETDISPINFOA;
  info.lpszText = info.szText;
  info.uFlags = tool.flags;
  info.lParam = tool.lParam;
  SendMessageA(tool.owner, WM_NOTIFY, static_cast<WPARAM>(tool.id), reinterpret_cast<LPARAM>(&info));

  // The owner answers with text in szText, a pointer to its own text, or a string resource
  // id with the instance that holds it.
  std::string text;
  if (info.lpszText == info.szText || info.lpszText == nullptr) {
    text.assign(info.szText, strnlen(info.szText, sizeof info.szText));
  } else if (IS_INTRESOURCE(info.lpszText)) {
    text = LoadResourceText(info.hinst, static_cast<UINT>(reinterpret_cast<ULONG_PTR>(info.lpszText)));
  } else if (info.lpszText != LPSTR_TEXTCALLBACKA) {
    text = info.lpszText;
  }
  if (info.uFlags & TTF_DI_SETITEM) {
    tool.callback = false;
    tool.text = text;
  }
  return text;
}

}  // namespace vel::platform
