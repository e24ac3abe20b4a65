#include "runtime/images/shared_palette.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "runtime/images/image.h"

namespace vel::images {

SharedPalette::~SharedPalette() {
  if (m_handle != nullptr) DeleteObject(m_handle);
}

std::size_t SharedPalette::AddColors(const RGBQUAD* colors, std::size_t count) {
  std::size_t added = 0;
  for (std::size_t i = 0; i < count && m_entries.size() < kMaxEntries; ++i) {
    PALETTEENTRY entry{colors[i].rgbRed, colors[i].rgbGreen, colors[i].rgbBlue, 0};
    bool known = std::any_of(m_entries.begin(), m_entries.end(), [&](const PALETTEENTRY& e) {
      return e.peRed == entry.peRed && e.peGreen == entry.peGreen && e.peBlue == entry.peBlue;
    });
    if (known) continue;
    m_entries.push_back(entry);
    ++added;
  }
  if (added > 0) m_changed = true;
  return added;
}

HPALETTE SharedPalette::Handle() {
  if (m_entries.empty()) return nullptr;
  if (m_handle != nullptr && !m_changed) return m_handle;
  // LOGPALETTE ends in a one-entry array that the real entries run on from.
  std::vector<std::uint8_t> buffer(sizeof(LOGPALETTE) + m_entries.size() * sizeof(PALETTEENTRY));
  auto* logical = reinterpret_cast<LOGPALETTE*>(buffer.data());
  logical->palVersion = 0x300;
  logical->palNumEntries = static_cast<WORD>(m_entries.size());
  std::memcpy(logical->palPalEntry, m_entries.data(), m_entries.size() * sizeof(PALETTEENTRY));
  HPALETTE made = CreatePalette(logical);
  if (made == nullptr) return m_handle;
  if (m_handle != nullptr) DeleteObject(m_handle);
  m_handle = made;
  m_changed = false;
  return m_handle;
}

SharedPalette* WindowSharedPalette(HWND window) {
  if (window == nullptr) return nullptr;
  return static_cast<SharedPalette*>(GetPropA(window, kSharedPaletteProperty));
}

SharedPalette* CreateWindowSharedPalette(HWND window) {
  if (SharedPalette* existing = WindowSharedPalette(window)) return existing;
  auto palette = std::make_unique<SharedPalette>();
  if (window == nullptr || !SetPropA(window, kSharedPaletteProperty, palette.get())) return nullptr;
  return palette.release();
}

void DestroyWindowSharedPalette(HWND window) {
  delete static_cast<SharedPalette*>(RemovePropA(window, kSharedPaletteProperty));
}

void ShareWindowPalette(Image& image, HWND window) {
  for (HWND w = window; w != nullptr; w = GetParent(w)) {
    if (SharedPalette* palette = WindowSharedPalette(w)) {
      image.SetPalette(*palette);
      return;
    }
  }
}

}  // namespace vel::images
