#include "runtime/images/standard_image_kinds.h"

#include "runtime/images/bitmap_image.h"
#include "runtime/images/gif_image.h"
#include "runtime/images/icon_image.h"
#include "runtime/images/jpeg_reader.h"
#include "runtime/images/metafile_image.h"
#include "runtime/images/pcx_reader.h"

namespace vel::images {
namespace {

struct KindEntry {
  const char* extension;
  OpenByNameRoutine open;
  CreateFromDataRoutine create;
};

// ".JPEG" and ".JFIF" are one character too long and are refused: names with those extensions
// are cut to ".JPE" and ".JFI", of which only the first is a JPEG extension.
const KindEntry kStandardKinds[] = {
    {".EXE", OpenIconByName, nullptr},
    {".DLL", OpenIconByName, nullptr},
    {".ICO", OpenIconByName, nullptr},
    {".CUR", OpenIconByName, nullptr},
    {".ANI", OpenIconByName, nullptr},
    {".WMF", OpenThroughLoader<CreateMetafileFromData>, CreateMetafileFromData},
    {".TMP", OpenThroughLoader<CreateMetafileFromData>, CreateMetafileFromData},
    {".JPG", OpenThroughLoader<CreateJpegFromData>, CreateJpegFromData},
    {".JPEG", OpenThroughLoader<CreateJpegFromData>, CreateJpegFromData},
    {".JPE", OpenThroughLoader<CreateJpegFromData>, CreateJpegFromData},
    {".JFIF", OpenThroughLoader<CreateJpegFromData>, CreateJpegFromData},
    {".PCX", OpenThroughLoader<CreatePcxFromData>, CreatePcxFromData},
    {".BMP", OpenThroughLoader<CreateBitmapFromData>, CreateBitmapFromData},
    {".GIF", OpenThroughLoader<CreateGifFromData>, CreateGifFromData},
};

}  // namespace

std::unique_ptr<Image> CreateBitmapFromData(const ImageOwner&, const std::uint8_t* bytes, std::size_t size,
                                            unsigned flags) {
  return BitmapImage::FromFileBytes(bytes, size, flags);
}

void RegisterStandardImageKinds(ImageKindRegistry& registry) {
  for (const KindEntry& kind : kStandardKinds) registry.RegisterKind(kind.extension, kind.open, kind.create);
}

const ImageKindRegistry& StandardImageKinds() {
  static const ImageKindRegistry registry = [] {
    ImageKindRegistry filled;
    RegisterStandardImageKinds(filled);
    return filled;
  }();
  return registry;
}

std::unique_ptr<Image> OpenImage(const ImageOwner& owner, std::string_view name, unsigned flags) {
  return StandardImageKinds().Open(owner, name, flags);
}

std::unique_ptr<Image> CreateImageFromData(const ImageOwner& owner, const std::uint8_t* bytes, std::size_t size,
                                           unsigned flags) {
  return StandardImageKinds().CreateFromData(owner, bytes, size, flags);
}

}  // namespace vel::images
