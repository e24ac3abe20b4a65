#include "runtime/images/icon_image.h"

#include <string>

#include "runtime/images/icon_sizes.h"
#include "runtime/images/image_name.h"

namespace vel::images {

namespace {

// The size of an icon's colour image (its mask is twice as high for a monochrome icon).
SIZE MeasureIcon(HICON icon, SIZE otherwise) {
  ICONINFO info{};
  if (icon == nullptr || !GetIconInfo(icon, &info)) return otherwise;
  BITMAP bitmap{};
  HBITMAP measured = info.hbmColor != nullptr ? info.hbmColor : info.hbmMask;
  SIZE size = otherwise;
  if (measured != nullptr && GetObjectA(measured, sizeof bitmap, &bitmap) != 0 && bitmap.bmWidth > 0) {
    size = SIZE{bitmap.bmWidth, info.hbmColor != nullptr ? bitmap.bmHeight : bitmap.bmHeight / 2};
  }
  if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
  if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
  return size;
}

}  // namespace

IconImage::IconImage(HICON icon, bool owned, unsigned flags) : Image(".ico", flags), m_icon(icon), m_owned(owned) {
  SIZE standard{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
  SetNaturalSize(standard);
  m_pixelSize = MeasureIcon(icon, standard);
}

IconImage::~IconImage() {
  if (m_owned && m_icon != nullptr) DestroyIcon(m_icon);
}

void IconImage::Draw(HDC dc, int x, int y, int, int) {
  if (m_icon != nullptr && !SizeOnly()) DrawIcon(dc, x, y, m_icon);
}

void IconImage::DrawScaled(HDC dc, int x, int y, int width, int height) {
  if (m_icon != nullptr && !SizeOnly() && width > 0 && height > 0)
    DrawIconEx(dc, x, y, m_icon, width, height, 0, nullptr, DI_NORMAL);
}

std::unique_ptr<Image> OpenIconByName(const ImageOwner& owner, std::string_view name, bool fromProgram,
                                      unsigned flags) {
  if ((flags & image_flags::kSizeOnly) != 0) return std::make_unique<IconImage>(nullptr, false, flags);
  std::string_view rest = StripIconPrefix(name);
  if (rest.size() != name.size() && !rest.empty() && rest.front() == '~') {
    fromProgram = true;
    rest.remove_prefix(1);
  }
  if (rest.empty()) return nullptr;
  // The window manager's reading of run-time icon names covers every form: the binary
  // references, "~" for the program's resources, and files with an index.
  std::string runtimeName = fromProgram && static_cast<unsigned char>(rest.front()) != 0xFF
                                ? "~" + std::string(rest)
                                : std::string(rest);
  windows::HeldIcon held = LoadIconNearSize(runtimeName, OwnerResourceModule(owner), owner.iconSize);
  if (held.handle == nullptr) return nullptr;
  return std::make_unique<IconImage>(held.handle, held.owned, flags);
}

}  // namespace vel::images
