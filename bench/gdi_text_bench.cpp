// Repaints a window's worth of text the way a dialog does (fill the framebuffer with the face
// colour, then about 100 characters in 14 runs of 8 pt text) against the floor of any repaint:
// one memset over the same framebuffer. Prints the time of each and their ratio.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "bench/ratio_reporter.h"
#include "platform/gdi/device_context.h"
#include "win32.h"

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;

// The labels and values of a small search window: 14 runs, 100 characters in all.
constexpr const char* kRuns[14] = {"Search for:", "Operator:", "AND", "Format:", "list", "Author:", "someone",
                                   "Maximum hits:", "50", "From date:", "To date:", "Groups:", "OK",
                                   "Cancel and close"};

struct Window {
  std::shared_ptr<vel::platform::Surface> framebuffer =
      std::make_shared<vel::platform::Surface>(kWidth, kHeight);
  HDC dc = vel::platform::CreateSurfaceDC(framebuffer, POINT{0, 0},
                                          vel::platform::Region(RECT{0, 0, kWidth, kHeight}));
  HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "MS Sans Serif");

  Window() {
    SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
  }
  ~Window() {
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    DeleteObject(font);
    DeleteDC(dc);
  }
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  void Repaint() {
    RECT all{0, 0, kWidth, kHeight};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    for (int i = 0; i < 14; ++i) {
      TextOutA(dc, 10 + (i % 2) * 150, 10 + (i / 2) * 20, kRuns[i], static_cast<int>(std::strlen(kRuns[i])));
    }
  }
};

void RepaintTextWindow(benchmark::State& state) {
  Window window;
  window.Repaint();  // The first paint fills the glyph cache; repaints are what is measured.
  for (auto _ : state) {
    window.Repaint();
    benchmark::DoNotOptimize(window.framebuffer->Row(0));
    benchmark::ClobberMemory();
  }
}

void MemsetFramebuffer(benchmark::State& state) {
  vel::platform::Surface framebuffer(kWidth, kHeight);
  for (auto _ : state) {
    std::memset(framebuffer.Row(0), 0xC0, sizeof(uint32_t) * kWidth * kHeight);
    benchmark::DoNotOptimize(framebuffer.Row(0));
    benchmark::ClobberMemory();
  }
}

constexpr const char* kRepaint = "RepaintTextWindow";
constexpr const char* kMemset = "MemsetFramebuffer";

}  // namespace

int main(int argc, char** argv) {
  int characters = 0;
  for (const char* run : kRuns) characters += static_cast<int>(std::strlen(run));
  benchmark::RegisterBenchmark(kRepaint, RepaintTextWindow);
  benchmark::RegisterBenchmark(kMemset, MemsetFramebuffer);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  vel::bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  double repaint = reporter.Nanoseconds(kRepaint);
  double floor = reporter.Nanoseconds(kMemset);
  if (repaint > 0 && floor > 0) {
    std::printf("repaint (%d characters in 14 runs, %dx%d): %.1f us\n", characters, kWidth, kHeight, repaint / 1000);
    std::printf("memset of the framebuffer:                  %.1f us\n", floor / 1000);
    std::printf("ratio repaint/memset = %.2f\n", repaint / floor);
  }
  return 0;
}
