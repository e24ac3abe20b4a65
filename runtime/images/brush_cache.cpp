#include "runtime/images/brush_cache.h"

namespace vel::images {
namespace {

constexpr int kStartSystemColors[] = {COLOR_WINDOWFRAME, COLOR_WINDOWTEXT,   COLOR_BTNFACE,     COLOR_BTNHIGHLIGHT,
                                      COLOR_BTNSHADOW,   COLOR_WINDOW,       COLOR_HIGHLIGHTTEXT, COLOR_HIGHLIGHT};
constexpr ColorValue kWhite = 0xFFFFFF;

}  // namespace

BrushCache::~BrushCache() { Clear(); }

HBRUSH BrushCache::MakeBrush(ColorValue value) {
  if (IsNoColor(value)) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  return CreateSolidBrush(DrawingColorOf(value));
}

void BrushCache::DeleteBrush(ColorValue value, HBRUSH brush) {
  if (brush != nullptr && !IsNoColor(value)) DeleteObject(brush);
}

HBRUSH BrushCache::Acquire(ColorValue value) {
  std::lock_guard lock(m_mutex);
  Entry& entry = m_entries[value];
  if (entry.brush == nullptr) entry.brush = MakeBrush(value);
  ++entry.references;
  return entry.brush;
}

void BrushCache::Release(ColorValue value) {
  std::lock_guard lock(m_mutex);
  auto found = m_entries.find(value);
  if (found == m_entries.end()) return;
  if (--found->second.references > 0) return;
  DeleteBrush(value, found->second.brush);
  m_entries.erase(found);
}

HBRUSH BrushCache::Current(ColorValue value) {
  std::lock_guard lock(m_mutex);
  auto found = m_entries.find(value);
  if (found == m_entries.end()) return nullptr;
  if (found->second.brush == nullptr) found->second.brush = MakeBrush(value);
  return found->second.brush;
}

void BrushCache::FillStartColors() {
  for (int index : kStartSystemColors) Acquire(SystemColorValue(index));
  Acquire(kWhite);
}

void BrushCache::SystemColorsChanged() {
  std::lock_guard lock(m_mutex);
  for (auto& [value, entry] : m_entries) {
    if (!IsSystemColor(value)) continue;
    DeleteBrush(value, entry.brush);
    entry.brush = nullptr;
  }
}

void BrushCache::Clear() {
  std::lock_guard lock(m_mutex);
  for (auto& [value, entry] : m_entries) DeleteBrush(value, entry.brush);
  m_entries.clear();
}

std::size_t BrushCache::Size() const {
  std::lock_guard lock(m_mutex);
  return m_entries.size();
}

int BrushCache::References(ColorValue value) const {
  std::lock_guard lock(m_mutex);
  auto found = m_entries.find(value);
  return found == m_entries.end() ? 0 : found->second.references;
}

BrushCache& RuntimeBrushes() {
  // Never destroyed: brushes may be released by objects that outlive static destruction.
  static BrushCache* cache = new BrushCache();
  return *cache;
}

}  // namespace vel::images
