// Icon and cursor calls: creation from resource data and from bitmaps, copies, destruction,
// drawing, and icon files.

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <string>
#include <tuple>

#include "platform/gdi/bitmap_object_util.h"
#include "platform/gdi/brush_paint.h"
#include "platform/gdi/icon_directory.h"
#include "platform/gdi/icon_object.h"

using namespace vel::platform;

namespace vel::platform {

std::shared_ptr<IconObject> LookupIcon(HICON icon) { return Lookup<IconObject>(icon); }

HICON RegisterIcon(IconImage image, bool isIcon, POINT hotspot, bool shared) {
  auto icon = std::make_shared<IconObject>();
  icon->m_image = std::move(image);
  icon->m_isIcon = isIcon;
  icon->m_hotspot = hotspot;
  icon->m_shared = shared;
  return static_cast<HICON>(RegisterObject(icon));
}

HICON IconFromResourceBits(const uint8_t* bits, size_t size, bool isIcon) {
  POINT hotspot{0, 0};
  if (!isIcon) {
    if (size < 4) return nullptr;
    hotspot = POINT{bits[0] | (bits[1] << 8), bits[2] | (bits[3] << 8)};
    bits += 4;
    size -= 4;
  }
  auto image = DecodeIconImage(bits, size);
  if (!image) return nullptr;
  if (isIcon) hotspot = POINT{image->width / 2, image->height / 2};
  return RegisterIcon(std::move(*image), isIcon, hotspot);
}

}  // namespace vel::platform

namespace {

constexpr int kDefaultIconSize = 32;

// Draws an icon image into a DC: alpha-blended when it has alpha, otherwise through its AND
// mask and then XOR colour, as the two-bitmap format means.
void DrawIconImage(DeviceContext& dc, const IconImage& image, RECT dest, UINT flags) {
  int width = dest.right - dest.left;
  int height = dest.bottom - dest.top;
  if (width <= 0 || height <= 0 || image.width <= 0 || image.height <= 0) return;
  Surface& target = dc.DrawTarget();
  for (const RECT& clip : dc.EffectiveClip().Rects()) {
    RECT part = IntersectRects(dest, clip);
    for (LONG y = part.top; y < part.bottom; ++y) {
      int sy = static_cast<int>((static_cast<int64_t>(y - dest.top) * image.height) / height);
      uint32_t* row = target.Row(static_cast<int>(y));
      for (LONG x = part.left; x < part.right; ++x) {
        int sx = static_cast<int>((static_cast<int64_t>(x - dest.left) * image.width) / width);
        uint32_t color = image.Color(sx, sy);
        uint32_t d = row[x] & 0x00FFFFFF;
        if ((flags & DI_NORMAL) == DI_NORMAL && image.hasAlpha) {
          uint32_t alpha = color >> 24;
          uint32_t out = 0;
          for (int shift = 0; shift <= 16; shift += 8) {
            uint32_t s = (color >> shift) & 0xFF;
            uint32_t t = (d >> shift) & 0xFF;
            out |= ((s * alpha + t * (255 - alpha) + 127) / 255) << shift;
          }
          row[x] = out;
          continue;
        }
        if (flags & DI_MASK) d &= image.Masked(sx, sy) ? 0x00FFFFFF : 0;
        if (flags & DI_IMAGE) d = (flags & DI_MASK) ? d ^ (color & 0x00FFFFFF) : color & 0x00FFFFFF;
        row[x] = d;
      }
    }
  }
}

// A monochrome mask bitmap: white where the AND mask keeps the screen.
std::shared_ptr<BitmapObject> MaskBitmap(const IconImage& image) {
  auto bitmap = MakeBitmap(image.width, image.height, true);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) bitmap->m_surface->Row(y)[x] = image.Masked(x, y) ? 0xFFFFFF : 0;
  }
  return bitmap;
}

// The bytes of one resource of a module (empty when it has none of that name and type).
std::vector<uint8_t> ResourceBytes(HMODULE module, LPCSTR name, LPCSTR type) {
  HRSRC resource = FindResourceA(module, name, type);
  if (resource == nullptr) return {};
  const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(module, resource)));
  DWORD size = SizeofResource(module, resource);
  if (data == nullptr) return {};
  return std::vector<uint8_t>(data, data + size);
}

// A program's icon or cursor resource: the group picks the image that best fits the standard
// size. Loaded icons are shared: the same name gives the same handle, and DestroyIcon leaves it.
HICON IconFromModule(HMODULE module, LPCSTR name, bool isIcon) {
  // Resource names match without regard to case, so the cache key is upper-cased.
  std::string key = IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<uintptr_t>(name)) : std::string(name);
  for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  static std::mutex mutex;
  static auto* loaded = new std::map<std::tuple<HMODULE, std::string, bool>, HICON>();
  std::lock_guard lock(mutex);
  auto it = loaded->find({module, key, isIcon});
  if (it != loaded->end() && LookupIcon(it->second)) return it->second;
  std::vector<uint8_t> group = ResourceBytes(module, name, isIcon ? RT_GROUP_ICON : RT_GROUP_CURSOR);
  if (group.empty()) return nullptr;
  HICON icon = IconFromGroup(group.data(), group.size(), kDefaultIconSize, kDefaultIconSize, [&](uint16_t id) {
    return ResourceBytes(module, MAKEINTRESOURCEA(id), isIcon ? RT_ICON : RT_CURSOR);
  });
  if (icon == nullptr) return nullptr;
  LookupIcon(icon)->m_shared = true;
  (*loaded)[{module, key, isIcon}] = icon;
  return icon;
}

std::vector<uint8_t> ReadWholeFile(const char* path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return {};
  // Icon files are small; refuse anything that could not plausibly be one.
  file.seekg(0, std::ios::end);
  std::streamoff length = file.tellg();
  if (length <= 0 || length > 64 * 1024 * 1024) return {};
  file.seekg(0);
  std::vector<uint8_t> data(static_cast<size_t>(length));
  file.read(reinterpret_cast<char*>(data.data()), length);
  return file ? data : std::vector<uint8_t>{};
}

}  // namespace

HICON WINAPI CreateIconFromResourceEx(PBYTE presbits, DWORD dwResSize, BOOL fIcon, DWORD dwVer, int cxDesired,
                                      int cyDesired, UINT Flags) {
  (void)cxDesired;
  (void)cyDesired;
  (void)Flags;
  if (presbits == nullptr || (dwVer != 0x00030000 && dwVer != 0x00020000)) return nullptr;
  return IconFromResourceBits(presbits, dwResSize, fIcon != FALSE);
}

HICON WINAPI CreateIconFromResource(PBYTE presbits, DWORD dwResSize, BOOL fIcon, DWORD dwVer) {
  return CreateIconFromResourceEx(presbits, dwResSize, fIcon, dwVer, 0, 0, LR_DEFAULTSIZE | LR_SHARED);
}

int WINAPI LookupIconIdFromDirectoryEx(PBYTE presbits, BOOL fIcon, int cxDesired, int cyDesired, UINT Flags) {
  (void)Flags;
  if (presbits == nullptr) return 0;
  // The group has no stated size; its own count says how long it is.
  size_t size = 6 + 14 * static_cast<size_t>(presbits[4] | (presbits[5] << 8));
  auto directory = ParseIconGroup(presbits, size);
  if (!directory || directory->isIcon != (fIcon != FALSE)) return 0;
  int best = BestIconEntry(*directory, cxDesired > 0 ? cxDesired : kDefaultIconSize,
                           cyDesired > 0 ? cyDesired : kDefaultIconSize);
  return best < 0 ? 0 : directory->entries[static_cast<size_t>(best)].id;
}

HICON WINAPI CreateIconIndirect(PICONINFO piconinfo) {
  if (piconinfo == nullptr) return nullptr;
  auto mask = Lookup<BitmapObject>(piconinfo->hbmMask);
  auto color = Lookup<BitmapObject>(piconinfo->hbmColor);
  if (!mask) return nullptr;
  RefreshFromDibBits(*mask);
  if (color) RefreshFromDibBits(*color);
  const Surface& maskPixels = *mask->m_surface;
  // Without a colour bitmap the mask holds both halves: AND on top, XOR below.
  int width = maskPixels.Width();
  int height = color ? maskPixels.Height() : maskPixels.Height() / 2;
  if (height <= 0) return nullptr;
  if (color && (color->m_surface->Width() != width || color->m_surface->Height() < height)) return nullptr;
  IconImage image = BlankIconImage(width, height);
  image.bitCount = color ? 32 : 1;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      size_t i = static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
      image.mask[i] = (maskPixels.Row(y)[x] & 0x00FFFFFF) != 0 ? 1 : 0;
      image.color[i] = color ? color->m_surface->Row(y)[x] : (maskPixels.Row(y + height)[x] & 0x00FFFFFF);
      if ((image.color[i] >> 24) != 0) image.hasAlpha = true;
    }
  }
  POINT hotspot = piconinfo->fIcon ? POINT{width / 2, height / 2}
                                   : POINT{static_cast<LONG>(piconinfo->xHotspot), static_cast<LONG>(piconinfo->yHotspot)};
  return RegisterIcon(std::move(image), piconinfo->fIcon != FALSE, hotspot);
}

BOOL WINAPI GetIconInfo(HICON hIcon, PICONINFO piconinfo) {
  auto icon = LookupIcon(hIcon);
  if (!icon || piconinfo == nullptr) return FALSE;
  const IconImage& image = icon->m_image;
  auto color = MakeBitmap(image.width, image.height, false);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) color->m_surface->Row(y)[x] = image.Color(x, y);
  }
  piconinfo->fIcon = icon->m_isIcon ? TRUE : FALSE;
  piconinfo->xHotspot = static_cast<DWORD>(icon->m_hotspot.x);
  piconinfo->yHotspot = static_cast<DWORD>(icon->m_hotspot.y);
  piconinfo->hbmMask = static_cast<HBITMAP>(RegisterObject(MaskBitmap(image)));
  piconinfo->hbmColor = static_cast<HBITMAP>(RegisterObject(color));
  return TRUE;
}

HICON WINAPI CopyIcon(HICON hIcon) {
  auto icon = LookupIcon(hIcon);
  if (!icon) return nullptr;
  return RegisterIcon(icon->m_image, icon->m_isIcon, icon->m_hotspot);
}

BOOL WINAPI DestroyIcon(HICON hIcon) {
  auto icon = LookupIcon(hIcon);
  if (!icon) return FALSE;
  if (icon->m_shared) return TRUE;
  return UnregisterObject(hIcon) ? TRUE : FALSE;
}

BOOL WINAPI DestroyCursor(HCURSOR hCursor) { return DestroyIcon(hCursor); }

BOOL WINAPI DrawIconEx(HDC hdc, int xLeft, int yTop, HICON hIcon, int cxWidth, int cyWidth, UINT istepIfAniCur,
                       HBRUSH hbrFlickerFreeDraw, UINT diFlags) {
  (void)istepIfAniCur;
  auto dc = LookupDc(hdc);
  auto icon = LookupIcon(hIcon);
  if (!dc || !icon) return FALSE;
  const IconImage& image = icon->m_image;
  int width = cxWidth > 0 ? cxWidth : ((diFlags & DI_DEFAULTSIZE) ? kDefaultIconSize : image.width);
  int height = cyWidth > 0 ? cyWidth : ((diFlags & DI_DEFAULTSIZE) ? kDefaultIconSize : image.height);
  POINT origin = dc->ToSurface(xLeft, yTop);
  RECT dest{origin.x, origin.y, origin.x + dc->ScaleWidth(width), origin.y + dc->ScaleHeight(height)};
  if (auto brush = Lookup<BrushObject>(hbrFlickerFreeDraw)) {
    // Drawing over the brush in place gives what drawing offscreen and copying would.
    BrushPaint paint(*dc, *brush);
    Painter painter(dc->DrawTarget(), dc->EffectiveClip());
    if (paint.Visible()) painter.FillRect(dest, paint.Get());
  }
  UINT flags = diFlags & DI_NORMAL;
  if (flags == 0) return TRUE;
  DrawIconImage(*dc, image, dest, flags);
  return TRUE;
}

BOOL WINAPI DrawIcon(HDC hDC, int X, int Y, HICON hIcon) {
  return DrawIconEx(hDC, X, Y, hIcon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
}

HICON WINAPI ExtractIconA(HINSTANCE hInst, LPCSTR pszExeFileName, UINT nIconIndex) {
  (void)hInst;
  if (pszExeFileName == nullptr) return nullptr;
  std::vector<uint8_t> data = ReadWholeFile(pszExeFileName);
  if (data.empty()) return nullptr;
  auto directory = ParseIconFile(data.data(), data.size());
  // A file that is not an icon file answers 1, as for a file without icons of a known kind.
  if (!directory || !directory->isIcon) return reinterpret_cast<HICON>(static_cast<intptr_t>(1));
  // An icon file holds one icon (in several sizes); -1 asks how many.
  if (nIconIndex == static_cast<UINT>(-1)) return reinterpret_cast<HICON>(static_cast<intptr_t>(1));
  if (nIconIndex != 0) return nullptr;
  int best = BestIconEntry(*directory, kDefaultIconSize, kDefaultIconSize);
  const IconEntry& entry = directory->entries[static_cast<size_t>(best)];
  return IconFromResourceBits(data.data() + entry.offset, entry.bytes, true);
}

HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName) {
  if (hInstance == nullptr) {
    if (!IS_INTRESOURCE(lpIconName)) return nullptr;
    return StockIcon(static_cast<WORD>(reinterpret_cast<uintptr_t>(lpIconName)), true);
  }
  return IconFromModule(hInstance, lpIconName, true);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName) {
  if (hInstance == nullptr) {
    if (!IS_INTRESOURCE(lpCursorName)) return nullptr;
    return StockIcon(static_cast<WORD>(reinterpret_cast<uintptr_t>(lpCursorName)), false);
  }
  return IconFromModule(hInstance, lpCursorName, false);
}
