#include "runtime/images/gif_image.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "runtime/images/dib_clipboard.h"
#include "runtime/images/gif_timer_window.h"
#include "runtime/images/grey_levels.h"
#include "runtime/images/shared_palette.h"

namespace vel::images {

GifImage::GifImage(GifFile file, unsigned flags, bool isStatic)
    : Image(".gif", flags), m_file(std::move(file)), m_static(isStatic) {
  SetNaturalSize(SIZE{m_file.canvasWidth, m_file.canvasHeight});
}

GifImage::~GifImage() {
  StopTimer();
  if (m_timerWindow != nullptr) DestroyWindow(m_timerWindow);
}

std::unique_ptr<GifImage> GifImage::FromFileBytes(const std::uint8_t* bytes, std::size_t size, unsigned flags,
                                                  bool isStatic) {
  std::optional<GifFile> file = ParseGif(bytes, size);
  if (!file) return nullptr;
  std::unique_ptr<GifImage> image(new GifImage(std::move(*file), flags, isStatic));
  image->SetByteSize(size);
  if (image->SizeOnly()) return image;
  image->m_canvas = GifCanvas::Create(image->m_file.canvasWidth, image->m_file.canvasHeight);
  if (!image->m_canvas) return nullptr;
  // Frames are decoded from the file's bytes as they are shown: the image keeps them.
  image->AdoptStorage(ImageStorage::Borrowed(bytes, size));
  return image;
}

std::size_t GifImage::FrameCount() const {
  return static_cast<std::size_t>(std::count_if(m_file.blocks.begin(), m_file.blocks.end(), [](const GifBlock& block) {
    return block.kind == GifBlockKind::ImageDescriptor;
  }));
}

bool GifImage::Play(GifBlock& block) {
  switch (block.kind) {
    case GifBlockKind::ImageDescriptor: {
      // A frame brings its own colour table; a greyed image stays greyed with the new one.
      bool greyed = m_savedTable.has_value();
      m_savedTable.reset();
      m_canvas->DecodeFrame(Storage().Data(), Storage().Size(), m_file, block);
      if (greyed) GreyTable();
      return true;
    }
    case GifBlockKind::GraphicControl:
      if (block.delay != 0) StartTimer(block.delay);
      m_transparentIndex = block.transparentIndex;
      return false;
    case GifBlockKind::Looping:
      if (block.loopingPresent) {
        m_wrapAllowed = true;
        if (block.loopCount != 0 && --block.loopCount == 0) block.loopingPresent = false;
      }
      return false;
    case GifBlockKind::OtherExtension: return false;
  }
  return false;
}

bool GifImage::Advance() {
  if (!m_canvas || Storage().Empty()) return false;
  auto count = static_cast<std::ptrdiff_t>(m_file.blocks.size());
  std::ptrdiff_t at = m_currentBlock + 1;
  // One full turn at most: from the block after the current one round to the current one.
  for (std::ptrdiff_t steps = 0; steps < count; ++steps, ++at) {
    if (at >= count) {
      if (!m_wrapAllowed) return false;
      m_wrapAllowed = false;
      at = 0;
    }
    if (Play(m_file.blocks[static_cast<std::size_t>(at)])) {
      m_currentBlock = at;
      return true;
    }
  }
  return false;
}

void GifImage::OnTimer() {
  if (!Advance()) {
    // The animation has played out: the last frame stays and nothing needs the timer.
    StopTimer();
    return;
  }
  for (const Viewer& viewer : m_viewers) InvalidateRect(viewer.control, viewer.area ? &*viewer.area : nullptr, TRUE);
}

void GifImage::StartTimer(unsigned delay) {
  if (m_static || SizeOnly() || m_viewers.empty()) return;
  m_animating = true;
  if (m_timerWindow == nullptr) m_timerWindow = CreateGifTimerWindow(*this);
  if (m_timerWindow == nullptr) return;
  KillTimer(m_timerWindow, kGifAnimationTimer);
  m_timerRunning = SetTimer(m_timerWindow, kGifAnimationTimer, delay * 10, nullptr) != 0;
}

void GifImage::StopTimer() {
  if (m_timerWindow != nullptr && m_timerRunning) KillTimer(m_timerWindow, kGifAnimationTimer);
  m_timerRunning = false;
}

void GifImage::ShowFirstFrame() {
  if (m_currentBlock < 0) Advance();
}

void GifImage::AddViewer(HWND control, const RECT* area) {
  Viewer viewer{control, std::nullopt};
  if (area != nullptr) viewer.area = *area;
  m_viewers.push_back(viewer);
  if (m_animating) {
    m_currentBlock = -1;
    m_wrapAllowed = false;
  }
  ShowFirstFrame();
}

void GifImage::RemoveViewer(HWND control) {
  std::erase_if(m_viewers, [control](const Viewer& viewer) { return viewer.control == control; });
}

void GifImage::StretchCanvas(HDC dc, int x, int y, int width, int height, DWORD rop) const {
  StretchDIBits(dc, x, y, width, height, 0, 0, m_canvas->Width(), m_canvas->Height(), m_canvas->Bits(),
                m_canvas->Info(), DIB_RGB_COLORS, rop);
}

void GifImage::Draw(HDC dc, int x, int y, int width, int height) {
  if (SizeOnly() || !m_canvas) return;
  ShowFirstFrame();
  if (m_static || m_transparentIndex < 0) {
    int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchCanvas(dc, x, y, width, height, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
    return;
  }
  DrawTransparent(dc, x, y, width, height);
}

void GifImage::DrawTransparent(HDC dc, int x, int y, int width, int height) {
  if (width <= 0 || height <= 0) return;
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
  if (memory == nullptr || bitmap == nullptr) {
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (memory != nullptr) DeleteDC(memory);
    return;
  }
  HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
  auto palette = static_cast<HPALETTE>(GetCurrentObject(dc, OBJ_PAL));
  HPALETTE oldPalette = palette != nullptr ? SelectPalette(memory, palette, FALSE) : nullptr;
  RealizePalette(memory);
  SetStretchBltMode(memory, COLORONCOLOR);
  BitBlt(memory, 0, 0, width, height, dc, x, y, SRCCOPY);

  // The masks are drawn from the whole 256-entry table, so that a transparent index beyond the
  // frame's own colours still counts.
  RGBQUAD* table = m_canvas->Table();
  auto index = static_cast<std::size_t>(m_transparentIndex);
  BITMAPINFOHEADER& header = m_canvas->Header();
  DWORD used = header.biClrUsed;
  header.biClrUsed = 0;
  std::vector<RGBQUAD> saved(table, table + GifCanvas::kTableEntries);
  // Black wherever the picture is, white where it is transparent: the background stays there.
  std::fill(table, table + GifCanvas::kTableEntries, RGBQUAD{0, 0, 0, 0});
  table[index] = RGBQUAD{255, 255, 255, 0};
  StretchCanvas(memory, 0, 0, width, height, SRCAND);
  // The picture's colours over the black, and nothing over the background.
  std::copy(saved.begin(), saved.end(), table);
  table[index] = RGBQUAD{0, 0, 0, 0};
  StretchCanvas(memory, 0, 0, width, height, SRCPAINT);
  table[index] = saved[index];
  header.biClrUsed = used;

  BitBlt(dc, x, y, width, height, memory, 0, 0, SRCCOPY);
  if (oldPalette != nullptr) SelectPalette(memory, oldPalette, FALSE);
  SelectObject(memory, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

void GifImage::CopyToClipboard(HWND owner) {
  if (SizeOnly() || !m_canvas) return;
  ShowFirstFrame();
  const ImageStorage& canvas = m_canvas->Storage();
  PlaceDibOnClipboard(owner, canvas.Size(), [&](std::uint8_t* out) {
    std::memcpy(out, canvas.Data(), canvas.Size());
    // The clipboard gets the picture's own colours, not a greyed copy.
    if (m_savedTable) std::memcpy(out + sizeof(BITMAPINFOHEADER), m_savedTable->data(), 4 * m_savedTable->size());
  });
}

void GifImage::SetPalette(SharedPalette& palette) {
  if (SizeOnly() || !m_canvas) return;
  ShowFirstFrame();
  DWORD used = m_canvas->Info()->bmiHeader.biClrUsed;
  palette.AddColors(m_canvas->Table(), used != 0 ? used : GifCanvas::kTableEntries);
}

void GifImage::MakeGreyedColorTable() {
  if (SizeOnly() || !m_canvas || m_savedTable) return;
  // The first frame brings its own table: it must be in place before it is greyed.
  ShowFirstFrame();
  GreyTable();
}

void GifImage::GreyTable() {
  RGBQUAD* table = m_canvas->Table();
  m_savedTable.emplace(table, table + GifCanvas::kTableEntries);
  for (unsigned i = 0; i < GifCanvas::kTableEntries; ++i) {
    std::uint8_t grey = GreyLevel(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue);
    table[i] = RGBQUAD{grey, grey, grey, 0};
  }
}

void GifImage::RestoreColorTable() {
  if (!m_savedTable) return;
  std::copy(m_savedTable->begin(), m_savedTable->end(), m_canvas->Table());
  m_savedTable.reset();
}

std::unique_ptr<Image> CreateGifFromData(const ImageOwner& owner, const std::uint8_t* bytes, std::size_t size,
                                         unsigned flags) {
  return GifImage::FromFileBytes(bytes, size, flags, owner.deviceResolution);
}

}  // namespace vel::images
