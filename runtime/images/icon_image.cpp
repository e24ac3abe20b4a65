#include "runtime/images/icon_image.h"

#include <string>

#include "runtime/images/image_name.h"
#include "runtime/windows/window_icons.h"

namespace vel::images {

IconImage::IconImage(HICON icon, bool owned, unsigned flags) : Image(".ico", flags), m_icon(icon), m_owned(owned) {
  SetNaturalSize(SIZE{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)});
}

IconImage::~IconImage() {
  if (m_owned && m_icon != nullptr) DestroyIcon(m_icon);
}

void IconImage::Draw(HDC dc, int x, int y, int, int) {
  if (m_icon != nullptr && !SizeOnly()) DrawIcon(dc, x, y, m_icon);
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
  windows::HeldIcon held = windows::LoadRuntimeIcon(runtimeName, OwnerResourceModule(owner));
  if (held.handle == nullptr) return nullptr;
  return std::make_unique<IconImage>(held.handle, held.owned, flags);
}

}  // namespace vel::images
