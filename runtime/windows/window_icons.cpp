#include "runtime/windows/window_icons.h"

#include <cstdint>

#include "runtime/windows/resource_names.h"
#include "runtime/windows/window_object.h"
#include "runtime/windows/window_object_open.h"

namespace vel::windows {
namespace {

constexpr std::uint16_t kProgramIconResource = 32523;

HICON g_programDefaultIcon = nullptr;

LPCSTR IdentifierName(std::uint16_t identifier) {
  return reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(identifier));
}

// Loads through LoadIconA or LoadCursorA. Both hand out shared handles, which their holder
// never destroys.
HeldIcon LoadShared(const ResourceName& name, HMODULE module, bool cursor) {
  ResourceRequest request = RequestFor(name);
  HINSTANCE instance = request.stock ? nullptr : module;
  if (!request.stock && instance == nullptr) return {};
  LPCSTR resource = request.byIdentifier ? IdentifierName(request.identifier) : request.name.c_str();
  HICON handle = cursor ? LoadCursorA(instance, resource) : LoadIconA(instance, resource);
  return HeldIcon{handle, false};
}

bool IsDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// A binary name or "~NAME" names a resource; other run-time text names an icon file.
bool IsResourceText(const ResourceName& name) {
  return name.form != ResourceName::Form::Text || (!name.text.empty() && name.text.front() == '~');
}

// Makes `held` the window's icon or cursor: the class takes it first, so that the class never
// refers to a destroyed handle, then the previous one is released.
void Install(WindowObject& window, HeldIcon held, bool cursor) {
  HeldIcon& slot = cursor ? window.cursor : window.icon;
  HeldIcon previous = slot;
  slot = held;
  if (window.handle != nullptr && IsWindow(window.handle)) {
    SetClassLongPtrA(window.handle, cursor ? GCLP_HCURSOR : GCLP_HICON, reinterpret_cast<LONG_PTR>(held.handle));
  }
  if (previous.handle != held.handle) ReleaseHeldIcon(previous, cursor);
}

}  // namespace

HeldIcon LoadNamedIcon(const ResourceName& name, HMODULE module) { return LoadShared(name, module, false); }

HeldIcon LoadNamedCursor(const ResourceName& name, HMODULE module) { return LoadShared(name, module, true); }

std::optional<ResourceName> ParseRuntimeName(std::string_view name) {
  if (name.empty()) return std::nullopt;
  if (static_cast<unsigned char>(name.front()) == 0xFF) {
    bool terminated = name.size() == 4 || (name.size() == 5 && name[4] == '\0');
    if (!terminated) return std::nullopt;
    auto form = static_cast<unsigned char>(name[1]);
    auto number = static_cast<std::uint16_t>(static_cast<unsigned char>(name[2]) |
                                             (static_cast<unsigned char>(name[3]) << 8));
    if (number == 0 || (form != 0x01 && form != 0x02)) return std::nullopt;
    ResourceName binary;
    binary.form = form == 0x01 ? ResourceName::Form::Stock : ResourceName::Form::ProgramId;
    binary.identifier = static_cast<std::uint16_t>(number - 1);
    return binary;
  }
  ResourceName text;
  text.text = std::string(name);
  return text;
}

std::string RuntimeNameOf(const ResourceName& name) {
  if (name.form == ResourceName::Form::Text) return name.text;
  auto number = static_cast<std::uint16_t>(name.identifier + 1);
  std::string bytes;
  bytes += static_cast<char>(0xFF);
  bytes += static_cast<char>(name.form == ResourceName::Form::Stock ? 0x01 : 0x02);
  bytes += static_cast<char>(number & 0xFF);
  bytes += static_cast<char>(number >> 8);
  return bytes;
}

IconFileName SplitIconFileName(std::string_view text) {
  IconFileName split{std::string(text), 0};
  if (text.size() < 3 || text.back() != ']') return split;
  std::size_t open = text.rfind('[');
  if (open == std::string_view::npos || open == 0) return split;
  std::string_view digits = text.substr(open + 1, text.size() - open - 2);
  // More than nine digits could not be an index of any icon file.
  if (!IsDigits(digits) || digits.size() > 9) return split;
  unsigned index = 0;
  for (char c : digits) index = index * 10 + static_cast<unsigned>(c - '0');
  split.file = std::string(text.substr(0, open));
  split.index = index;
  return split;
}

HeldIcon LoadRuntimeIcon(std::string_view name, HMODULE module) {
  std::optional<ResourceName> parsed = ParseRuntimeName(name);
  if (!parsed) return {};
  if (IsResourceText(*parsed)) return LoadNamedIcon(*parsed, module);
  IconFileName file = SplitIconFileName(parsed->text);
  HICON extracted = ExtractIconA(WindowInstance(), file.file.c_str(), file.index);
  // ExtractIconA answers 1 for a file that holds no icons: that is no handle.
  if (reinterpret_cast<std::uintptr_t>(extracted) <= 1) return {};
  return HeldIcon{extracted, true};
}

HeldIcon LoadRuntimeCursor(std::string_view name, HMODULE module) {
  std::optional<ResourceName> parsed = ParseRuntimeName(name);
  if (!parsed) return {};
  return LoadNamedCursor(*parsed, module);
}

HeldIcon DefaultWindowIcon() {
  if (g_programDefaultIcon != nullptr) {
    if (HICON copy = CopyIcon(g_programDefaultIcon)) return HeldIcon{copy, true};
  }
  return HeldIcon{LoadIconA(WindowInstance(), IdentifierName(kProgramIconResource)), false};
}

HeldIcon DefaultWindowCursor() { return HeldIcon{LoadCursorA(nullptr, IDC_ARROW), false}; }

void SetProgramDefaultIcon(HICON icon) { g_programDefaultIcon = icon; }

void ReleaseHeldIcon(HeldIcon& held, bool cursor) {
  if (held.owned && held.handle != nullptr) {
    if (cursor) DestroyCursor(held.handle);
    else DestroyIcon(held.handle);
  }
  held = HeldIcon{};
}

void TakeDefinitionIcons(WindowObject& window, const std::optional<ResourceName>& icon,
                         const std::optional<ResourceName>& cursor) {
  window.iconName = icon ? RuntimeNameOf(*icon) : std::string();
  window.cursorName = cursor ? RuntimeNameOf(*cursor) : std::string();
  HeldIcon loadedIcon = icon ? LoadNamedIcon(*icon, window.resourceModule) : HeldIcon{};
  HeldIcon loadedCursor = cursor ? LoadNamedCursor(*cursor, window.resourceModule) : HeldIcon{};
  window.icon = loadedIcon.handle != nullptr ? loadedIcon : DefaultWindowIcon();
  window.cursor = loadedCursor.handle != nullptr ? loadedCursor : DefaultWindowCursor();
}

void ReplaceWindowIcon(WindowObject& window, std::string_view name) {
  HeldIcon loaded = LoadRuntimeIcon(name, window.resourceModule);
  window.iconName = std::string(name);
  Install(window, loaded.handle != nullptr ? loaded : DefaultWindowIcon(), false);
  if (window.handle != nullptr) RedrawWindow(window.handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void ReplaceWindowCursor(WindowObject& window, std::string_view name) {
  HeldIcon loaded = LoadRuntimeCursor(name, window.resourceModule);
  window.cursorName = std::string(name);
  Install(window, loaded.handle != nullptr ? loaded : DefaultWindowCursor(), true);
}

void ReleaseWindowIcons(WindowObject& window) {
  ReleaseHeldIcon(window.icon, false);
  ReleaseHeldIcon(window.cursor, true);
}

}  // namespace vel::windows
