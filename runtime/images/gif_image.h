#pragma once
// The GIF image: a GIF file parsed into blocks once, shown through a canvas into which frames
// are decoded on demand. Controls that show the image register as its viewers; when the file
// holds frames with delays, a hidden timer window advances the animation and asks every viewer
// to repaint. A transparent index lets the background show through when the image is drawn on
// the screen.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "runtime/images/gif_blocks.h"
#include "runtime/images/gif_canvas.h"
#include "runtime/images/image.h"
#include "runtime/images/image_owner.h"

namespace vel::images {

class GifImage final : public Image {
 public:
  /// A GIF image of `bytes`, or nothing when they are not a valid GIF file. The image borrows
  /// the bytes (NeedsStorage) unless it keeps no picture (size-only). Images made for an owner
  /// that draws at device resolution are static: they neither animate nor draw transparently.
  static std::unique_ptr<GifImage> FromFileBytes(const std::uint8_t* bytes, std::size_t size, unsigned flags,
                                                 bool isStatic);
  ~GifImage() override;

  void Draw(HDC dc, int x, int y, int width, int height) override;
  void CopyToClipboard(HWND owner) override;
  void SetPalette(SharedPalette& palette) override;
  void MakeGreyedColorTable() override;
  void RestoreColorTable() override;

  /// Registers a control (by its window) that shows the image, optionally only in `area` of it.
  /// Restarts the animation from the first block if it was animating; shows the first frame if
  /// none is shown yet.
  void AddViewer(HWND control, const RECT* area = nullptr) override;
  /// Forgets every registration of that control.
  void RemoveViewer(HWND control) override;
  std::size_t ViewerCount() const { return m_viewers.size(); }

  /// Shows the next frame: plays the blocks after the current one (wrapping to the start once
  /// when the looping block allows it) up to the next frame. False when there was none to show:
  /// the canvas keeps the last frame.
  bool Advance();
  /// What the timer window does on each tick: the next frame, then a repaint of every viewer.
  void OnTimer();

  const GifFile& File() const { return m_file; }
  /// Frames in the file (image descriptor blocks).
  std::size_t FrameCount() const;
  /// Index in File().blocks of the block whose frame the canvas shows; -1 before the first.
  std::ptrdiff_t CurrentBlock() const { return m_currentBlock; }
  /// The canvas; null for a size-only image.
  const GifCanvas* Canvas() const { return m_canvas ? &*m_canvas : nullptr; }
  int TransparentIndex() const { return m_transparentIndex; }
  bool IsStatic() const { return m_static; }
  bool Animating() const { return m_animating; }
  /// The hidden window whose timer drives the animation (null until it first starts).
  HWND TimerWindow() const { return m_timerWindow; }

 private:
  struct Viewer {
    HWND control;
    std::optional<RECT> area;
  };

  GifImage(GifFile file, unsigned flags, bool isStatic);

  /// Plays one block's effect; true when it was a frame.
  bool Play(GifBlock& block);
  void StartTimer(unsigned delay);
  void StopTimer();
  void ShowFirstFrame();
  /// Saves the colour table and replaces it by its grey levels.
  void GreyTable();
  void DrawTransparent(HDC dc, int x, int y, int width, int height);
  void StretchCanvas(HDC dc, int x, int y, int width, int height, DWORD rop) const;

  GifFile m_file;
  std::optional<GifCanvas> m_canvas;
  std::vector<Viewer> m_viewers;
  bool m_static;
  bool m_animating = false;
  std::ptrdiff_t m_currentBlock = -1;
  HWND m_timerWindow = nullptr;
  bool m_timerRunning = false;
  bool m_wrapAllowed = false;
  int m_transparentIndex = -1;
  /// The colour table as it was before MakeGreyedColorTable.
  std::optional<std::vector<RGBQUAD>> m_savedTable;
};

/// The GIF kind's create-from-data routine: data of more than 13 bytes starting with "GIF".
std::unique_ptr<Image> CreateGifFromData(const ImageOwner& owner, const std::uint8_t* bytes, std::size_t size,
                                         unsigned flags);

}  // namespace vel::images
