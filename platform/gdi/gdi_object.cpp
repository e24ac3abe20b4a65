#include "platform/gdi/gdi_object.h"

#include <mutex>
#include <unordered_map>

namespace vel::platform {
namespace {

std::mutex g_mutex;

std::unordered_map<HANDLE, std::shared_ptr<GdiObject>>& Table() {
  static auto* table = new std::unordered_map<HANDLE, std::shared_ptr<GdiObject>>();
  return *table;
}

}  // namespace

HANDLE RegisterObject(std::shared_ptr<GdiObject> object) {
  if (!object) return nullptr;
  HANDLE handle = HandleOf(object.get());
  std::lock_guard lock(g_mutex);
  Table()[handle] = std::move(object);
  return handle;
}

std::shared_ptr<GdiObject> LookupObject(HANDLE handle) {
  if (handle == nullptr) return nullptr;
  std::lock_guard lock(g_mutex);
  auto it = Table().find(handle);
  return it == Table().end() ? nullptr : it->second;
}

bool UnregisterObject(HANDLE handle) {
  std::shared_ptr<GdiObject> released;
  std::lock_guard lock(g_mutex);
  auto it = Table().find(handle);
  if (it == Table().end()) return false;
  // The object may own other handles' objects; let it go after the lock is dropped.
  released = std::move(it->second);
  Table().erase(it);
  return true;
}

}  // namespace vel::platform
