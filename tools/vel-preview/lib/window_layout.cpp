#include "tools/vel-preview/lib/window_layout.h"

#include <algorithm>
#include <set>

#include "runtime/windows/window_object.h"

namespace vel::tools {
namespace {

std::string ClassNameOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

struct Collection {
  std::vector<ControlPlace> places;
  std::set<HWND> seen;
};

void Add(Collection& collection, std::int32_t field, HWND window) {
  RECT rect{};
  if (window == nullptr || !collection.seen.insert(window).second || !GetWindowRect(window, &rect)) return;
  collection.places.push_back(ControlPlace{field, ClassNameOf(window), rect});
}

BOOL CALLBACK AddRuntimeControl(HWND window, LPARAM parameter) {
  int identifier = GetDlgCtrlID(window);
  if (identifier > kFieldIdentifierBase && ClassNameOf(window).rfind("Vel", 0) == 0) {
    Add(*reinterpret_cast<Collection*>(parameter), identifier - kFieldIdentifierBase, window);
  }
  return TRUE;
}

}  // namespace

std::vector<ControlPlace> WindowLayout(const windows::WindowObject& window) {
  Collection collection;
  Add(collection, 0, window.handle);
  if (collection.places.empty()) return {};
  for (const auto& control : window.controls) Add(collection, control->FieldNumber(), control->Handle());
  EnumChildWindows(window.handle, AddRuntimeControl, reinterpret_cast<LPARAM>(&collection));
  std::stable_sort(collection.places.begin() + 1, collection.places.end(),
                   [](const ControlPlace& a, const ControlPlace& b) { return a.field < b.field; });
  return collection.places;
}

}  // namespace vel::tools
