#include "runtime/controls/image_control.h"

#include "runtime/controls/control_factory.h"
#include "runtime/controls/control_flags.h"
#include "runtime/images/image_drawing.h"
#include "runtime/images/standard_image_kinds.h"
#include "runtime/windows/window_object.h"

namespace vel::controls {

ImageControl::ImageControl(const windows::Record& record)
    : GraphicControl(record), m_displayMode(static_cast<unsigned>(record.extra) & images::image_flags::kDisplayModeMask) {
  // The default size is measured before the window exists, so the picture opens first.
  if (record.text) OpenPicture(*record.text);
}

ImageControl::~ImageControl() {
  if (m_picture && m_handle != nullptr) m_picture->RemoveViewer(m_handle);
}

void ImageControl::Construct(const windows::Record& record) {
  GraphicControl::Construct(record);
  if (m_picture && m_handle != nullptr) m_picture->AddViewer(m_handle);
}

std::optional<std::string> ImageControl::CreationText(const windows::Record& record) const { return record.text; }

void ImageControl::OpenPicture(std::string_view name) {
  m_pictureName = std::string(name);
  if (m_picture && m_handle != nullptr) m_picture->RemoveViewer(m_handle);
  m_picture.reset();
  if (name.empty()) return;
  images::ImageOwner owner;
  owner.window = m_window != nullptr ? m_window->handle : nullptr;
  owner.module = m_window != nullptr ? m_window->resourceModule : nullptr;
  m_picture = images::OpenImage(owner, name, m_displayMode);
  // Before the window exists, Construct adds it once it does.
  if (m_picture && m_handle != nullptr) m_picture->AddViewer(m_handle);
}

void ImageControl::SetText(std::string_view name) {
  if (name != m_pictureName) OpenPicture(name);
  // The window keeps the name as its text, so reading the text property gives it back.
  GraphicControl::SetText(name);
  Refresh();
}

int ImageControl::DefaultWidth() { return m_picture ? static_cast<int>(m_picture->NaturalSize().cx) : 0; }

int ImageControl::DefaultHeight() { return m_picture ? static_cast<int>(m_picture->NaturalSize().cy) : 0; }

std::uint32_t ImageControl::ClassBackgroundValue() const {
  if (m_window != nullptr && m_window->colours.values[0] != windows::kNoColour) return m_window->colours.values[0];
  return kSystemColour | COLOR_BTNFACE;
}

void ImageControl::Paint(HDC dc) {
  RECT area{};
  GetClientRect(m_handle, &area);
  // Centred and tiled pictures, and pictures with transparent parts, leave some of the control
  // uncovered; that part shows the background unless the control is transparent.
  if (!HasAttribute(kAttrTransparent)) FillRect(dc, &area, BackgroundBrush());
  if (!m_picture) return;
  const bool greyed = !IsWindowEnabled(m_handle);
  if (greyed) m_picture->MakeGreyedColorTable();
  images::DrawInRectangle(*m_picture, dc, area);
  if (greyed) m_picture->RestoreColorTable();
}

void RegisterImageKind() { RegisterControlKind(windows::kKindImage, CreateKind<ImageControl>); }

}  // namespace vel::controls
