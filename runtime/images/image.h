#pragma once
// The image object every kind shares: its natural size, the memory that holds its bytes, where
// they came from, its flags, and the operations callers size, draw and copy it with. Each kind
// (bitmap, icon, metafile, and the kinds built on the bitmap) overrides what it can do.

#include <cstddef>
#include <cstdint>

#include "runtime/images/image_storage.h"
#include "win32.h"

namespace vel::images {

class SharedPalette;

/// Flags of an image, and the flags callers open or create images with.
namespace image_flags {
/// The display mode (0, 1 or 2) in the low two bits; see the display-mode properties.
constexpr unsigned kDisplayModeMask = 0x3;
/// The image keeps no picture: it is made only to learn a picture's size.
constexpr unsigned kSizeOnly = 0x4;
/// The image's storage is a resource of the program.
constexpr unsigned kResourceBacked = 0x8;
/// Given when creating from data: the caller keeps the bytes alive for the image's whole life,
/// so the image refers to them instead of holding its own copy.
constexpr unsigned kKeepCallerBytes = 0x10;
}  // namespace image_flags

/// The two display modes an image can be set to through its display-mode properties; what they
/// mean to a control is DrawInRectangle's choice (image_drawing.h).
enum class DisplayMode : unsigned { Plain = 0, Centred = 1, Tiled = 2 };

class Image {
 public:
  virtual ~Image();
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;

  /// The picture's natural size (in device units for owners that draw at device resolution).
  virtual SIZE NaturalSize() const { return SIZE{m_width, m_height}; }
  /// True for kinds that measure their natural size on the owner's device themselves
  /// (metafiles); the others measure in pixels and are scaled for the owner.
  virtual bool MeasuredOnDevice() const { return false; }
  /// Draws the picture into the rectangle at (x, y) of width x height, in the DC's logical
  /// units. A size-only image draws nothing.
  virtual void Draw(HDC dc, int x, int y, int width, int height) = 0;
  /// Places the picture on the clipboard; only bitmaps can.
  virtual void CopyToClipboard(HWND owner);
  /// Gives the image the shared palette of the window that shows it; bitmaps add their colours.
  virtual void SetPalette(SharedPalette& palette);
  /// Draws from a grey copy of the colour table until RestoreColorTable (a disabled look).
  virtual void MakeGreyedColorTable();
  virtual void RestoreColorTable();

  /// A control window shows the picture from now on, or no longer. Animated kinds repaint their
  /// viewers (the whole window, or `area` of it when given) as their frames change.
  virtual void AddViewer(HWND viewer, const RECT* area = nullptr);
  virtual void RemoveViewer(HWND viewer);

  /// The first display-mode property (mode Tiled) and the second (mode Centred): setting one
  /// true sets its mode; setting it false clears the mode only when it is that property's.
  bool TiledProperty() const { return Mode() == DisplayMode::Tiled; }
  void SetTiledProperty(bool on) { SetModeProperty(DisplayMode::Tiled, on); }
  bool CentredProperty() const { return Mode() == DisplayMode::Centred; }
  void SetCentredProperty(bool on) { SetModeProperty(DisplayMode::Centred, on); }
  DisplayMode Mode() const { return static_cast<DisplayMode>(m_flags & image_flags::kDisplayModeMask); }

  /// ".bmp", ".jpg", ".pcx", ".ico", ".wmf" (and ".gif").
  const char* KindTag() const { return m_kindTag; }
  unsigned Flags() const { return m_flags; }
  bool SizeOnly() const { return (m_flags & image_flags::kSizeOnly) != 0; }
  bool ResourceBacked() const { return (m_flags & image_flags::kResourceBacked) != 0; }
  /// The size of the file's bytes.
  std::size_t ByteSize() const { return m_byteSize; }
  /// The file's local date (high 16 bits) and time (low 16 bits) in the MS-DOS format; 0 for
  /// resources and pictures made from data.
  DWORD FileTime() const { return m_fileTime; }
  const ImageStorage& Storage() const { return m_storage; }

  /// True while the image draws from bytes it does not own (borrowed from its creator), which
  /// the creator must then give it or copy for it (AdoptStorage).
  bool NeedsStorage() const { return m_storage.IsBorrowed(); }
  /// Makes `storage` (holding the same bytes the image was made from) the image's own.
  void AdoptStorage(ImageStorage storage);

  void SetByteSize(std::size_t size) { m_byteSize = size; }
  void SetFileTime(DWORD time) { m_fileTime = time; }
  /// Sets the natural size (kinds and the device scaling of their creators use it).
  void SetNaturalSize(SIZE size) {
    m_width = size.cx;
    m_height = size.cy;
  }

 protected:
  Image(const char* kindTag, unsigned flags) : m_kindTag(kindTag), m_flags(flags & ~image_flags::kKeepCallerBytes) {}

  ImageStorage& MutableStorage() { return m_storage; }

 private:
  void SetModeProperty(DisplayMode mode, bool on);

  const char* m_kindTag;
  unsigned m_flags;
  LONG m_width = 0;
  LONG m_height = 0;
  ImageStorage m_storage;
  std::size_t m_byteSize = 0;
  DWORD m_fileTime = 0;
};

}  // namespace vel::images
