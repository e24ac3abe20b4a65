#include "runtime/images/image.h"

#include <utility>

namespace vel::images {

Image::~Image() = default;

void Image::CopyToClipboard(HWND) {}

void Image::SetPalette(SharedPalette&) {}

// Still pictures never change, so they need not know who shows them.
void Image::AddViewer(HWND, const RECT*) {}

void Image::RemoveViewer(HWND) {}

void Image::MakeGreyedColorTable() {}

void Image::RestoreColorTable() {}

void Image::AdoptStorage(ImageStorage storage) {
  m_flags &= ~image_flags::kResourceBacked;
  if (storage.IsResource()) m_flags |= image_flags::kResourceBacked;
  m_storage = std::move(storage);
}

void Image::SetModeProperty(DisplayMode mode, bool on) {
  auto bits = static_cast<unsigned>(mode);
  if (on) {
    m_flags = (m_flags & ~image_flags::kDisplayModeMask) | bits;
  } else if (Mode() == mode) {
    m_flags &= ~image_flags::kDisplayModeMask;
  }
}

}  // namespace vel::images
