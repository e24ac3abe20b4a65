#include "runtime/windows/window_menu_bar.h"

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/windows/definition_record.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/window_object.h"
#include "runtime/windows/window_record_order.h"

namespace vel::windows {
namespace {

constexpr int kMaximumMenuDepth = 16;

UINT MenuFlagsOf(std::uint32_t recordFlags) {
  UINT flags = 0;
  if (recordFlags & kItemRight) flags |= MF_RIGHTJUSTIFY;
  if (recordFlags & kItemGreyed) flags |= MF_GRAYED;
  return flags;
}

std::string EntryText(HMENU menu, int position) {
  char text[256] = {};
  GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
  return text;
}

// The popup of `menu` shown with exactly `text`, or null.
HMENU PopupWithText(HMENU menu, const std::string& text) {
  int count = GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    HMENU popup = GetSubMenu(menu, position);
    if (popup != nullptr && EntryText(menu, position) == text) return popup;
  }
  return nullptr;
}

bool IsSeparator(HMENU menu, int position) {
  return (GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_SEPARATOR) != 0 &&
         GetSubMenu(menu, position) == nullptr;
}

class MenuBuilder {
 public:
  MenuBuilder(WindowObject& window, const DefinitionView& view, WindowMenuBar& bar)
      : m_window(window), m_view(view), m_bar(bar) {}

  void Fill(HMENU menu, std::uint32_t first, int depth) {
    if (depth > kMaximumMenuDepth) return;
    for (const Record& record : ReadChain(m_view, first)) {
      if (record.kind == kKindMenu) {
        AddMenu(menu, record, depth);
      } else if (record.kind == kKindMenuItem) {
        AddItem(menu, record);
      }
    }
  }

 private:
  void* UseAddressOf(const Record& record) { return TakesUseAddress(record) ? m_window.TakeUseAddress() : nullptr; }

  void AddMenu(HMENU menu, const Record& record, int depth) {
    std::string text = record.text.value_or(std::string());
    // A menu repeating one the bar already has adds its items to it.
    if (HMENU existing = PopupWithText(menu, text)) {
      Fill(existing, record.firstChild, depth + 1);
      return;
    }
    HMENU popup = CreatePopupMenu();
    if (popup == nullptr) return;
    Fill(popup, record.firstChild, depth + 1);
    if (!AppendMenuA(menu, MF_POPUP | MenuFlagsOf(record.flags), reinterpret_cast<UINT_PTR>(popup),
                     text.c_str())) {
      DestroyMenu(popup);
      return;
    }
    m_bar.items.push_back(std::make_unique<MenuItem>(m_window, record, menu, popup, nullptr));
  }

  void AddItem(HMENU menu, const Record& record) {
    // The address is taken even by an item that ends up a separator, so the ones after it stay
    // with their own items.
    void* use = UseAddressOf(record);
    std::string text = record.text.value_or(std::string());
    if ((record.flags & kItemSeparator) || text.empty()) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
      return;
    }
    auto item = std::make_unique<MenuItem>(m_window, record, menu, nullptr, use);
    if (!AppendMenuA(menu, MF_STRING | MenuFlagsOf(record.flags), item->CommandIdentifier(),
                     item->ShownText().c_str())) {
      return;
    }
    if (item->ShortcutKey() != 0 && item->CommandIdentifier() != 0) {
      m_bar.shortcuts.Add(item->ShortcutKey(), static_cast<std::int32_t>(item->CommandIdentifier()));
    }
    item->Redisplay();
    m_bar.items.push_back(std::move(item));
  }

  WindowObject& m_window;
  const DefinitionView& m_view;
  WindowMenuBar& m_bar;
};

}  // namespace

WindowMenuBar::~WindowMenuBar() {
  items.clear();
  if (handle == nullptr) return;
  if (window != nullptr && window->handle != nullptr && IsWindow(window->handle) &&
      GetMenu(window->handle) == handle) {
    SetMenu(window->handle, nullptr);
  }
  DestroyMenu(handle);
}

MenuItem* WindowMenuBar::ItemOfField(std::int32_t field) const {
  if (field == 0) return nullptr;
  for (const auto& item : items) {
    if (item->FieldNumber() == field) return item.get();
  }
  return nullptr;
}

MenuItem* WindowMenuBar::InsertItem(std::int32_t beforeField, std::int32_t field, std::string_view text) {
  if (window == nullptr || field == 0 || ItemOfField(field) != nullptr) return nullptr;
  const MenuItem* before = ItemOfField(beforeField);
  HMENU menu = before != nullptr ? before->Menu() : handle;
  Record record;
  record.kind = kKindMenuItem;
  record.field = field;
  record.text = std::string(text);
  auto item = std::make_unique<MenuItem>(*window, record, menu, nullptr, nullptr);
  BOOL inserted = FALSE;
  if (before != nullptr && !before->IsPopup()) {
    inserted = InsertMenuA(menu, before->CommandIdentifier(), MF_BYCOMMAND | MF_STRING,
                           item->CommandIdentifier(), item->ShownText().c_str());
  } else {
    inserted = AppendMenuA(menu, MF_STRING, item->CommandIdentifier(), item->ShownText().c_str());
  }
  if (!inserted) return nullptr;
  if (window->handle != nullptr && GetMenu(window->handle) == handle) DrawMenuBar(window->handle);
  items.push_back(std::move(item));
  return items.back().get();
}

bool WindowMenuBar::DeleteItem(std::int32_t field) {
  auto found = std::find_if(items.begin(), items.end(),
                            [field](const auto& item) { return item->FieldNumber() == field; });
  if (found == items.end()) return false;
  const MenuItem& item = **found;
  int count = GetMenuItemCount(item.Menu());
  for (int position = 0; position < count; ++position) {
    bool same = item.IsPopup() ? GetSubMenu(item.Menu(), position) == item.Submenu()
                               : GetMenuItemID(item.Menu(), position) == item.CommandIdentifier();
    if (!same) continue;
    // Items of a deleted popup go with it, those of its own popups too.
    if (HMENU submenu = item.Submenu()) {
      ForgetItemsOf(submenu);
      found = std::find_if(items.begin(), items.end(),
                           [field](const auto& other) { return other->FieldNumber() == field; });
    }
    DeleteMenu((*found)->Menu(), static_cast<UINT>(position), MF_BYPOSITION);
    items.erase(found);
    if (window != nullptr && window->handle != nullptr && GetMenu(window->handle) == handle)
      DrawMenuBar(window->handle);
    return true;
  }
  return false;
}

void WindowMenuBar::ForgetItemsOf(HMENU menu) {
  std::vector<HMENU> inner;
  for (const auto& item : items) {
    if (item->Menu() == menu && item->Submenu() != nullptr) inner.push_back(item->Submenu());
  }
  for (HMENU popup : inner) ForgetItemsOf(popup);
  std::erase_if(items, [menu](const auto& item) { return item->Menu() == menu; });
}

std::unique_ptr<WindowMenuBar> BuildMenuBar(WindowObject& window, const DefinitionView& view,
                                            std::uint32_t offset) {
  std::optional<Record> record = offset != 0 ? ReadRecord(view, offset) : std::nullopt;
  if (!record || record->kind != kKindMenuBar) return nullptr;
  auto bar = std::make_unique<WindowMenuBar>();
  bar->window = &window;
  bar->flags = record->flags;
  bar->handle = CreateMenu();
  if (bar->handle == nullptr) return nullptr;
  MenuBuilder(window, view, *bar).Fill(bar->handle, record->firstChild, 0);
  RemoveStraySeparators(bar->handle);
  return bar;
}

void RemoveStraySeparators(HMENU menu) {
  for (int position = 0; position < GetMenuItemCount(menu);) {
    bool separator = IsSeparator(menu, position);
    bool stray = separator &&
                 (position == 0 || IsSeparator(menu, position - 1) || position == GetMenuItemCount(menu) - 1);
    if (stray) {
      DeleteMenu(menu, static_cast<UINT>(position), MF_BYPOSITION);
      // A separator that was second-last may stand last now: look at the one before again.
      if (position > 0) --position;
      continue;
    }
    if (HMENU popup = GetSubMenu(menu, position)) RemoveStraySeparators(popup);
    ++position;
  }
}

}  // namespace vel::windows
