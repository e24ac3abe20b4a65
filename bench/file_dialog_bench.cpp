// Opens the open dialog on a folder of 10,000 files (listing, filtering, filling both lists and
// painting it once, on the headless display) against the floor of any such dialog: reading and
// sorting the same folder's names. Prints the time of each and their ratio; the dialog should
// take well under a second.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/ratio_reporter.h"
#include "platform/comdlg/directory_listing.h"
#include "platform/user/dialog_box.h"
#include "win32.h"

namespace {

constexpr int kFiles = 10000;

const std::string& Folder() {
  static const std::string folder = [] {
    std::string path = (std::filesystem::temp_directory_path() / ("velmora_dialog_bench_" + std::to_string(getpid()))).string();
    std::filesystem::create_directories(path);
    for (int i = 0; i < kFiles; ++i) {
      std::ofstream(path + "/document " + std::to_string(i) + (i % 3 == 0 ? ".txt" : ".dat")) << "x";
    }
    return path;
  }();
  return folder;
}

void ListFolder(benchmark::State& state) {
  for (auto _ : state) {
    auto entries = vel::platform::ReadDirectory(Folder());
    benchmark::DoNotOptimize(entries.data());
  }
}
BENCHMARK(ListFolder)->Unit(benchmark::kMillisecond);

void OpenDialog(benchmark::State& state) {
  // The dialog ends at its first quiet moment: listed, filled and painted.
  vel::platform::SetModalDialogDriver([](HWND dialog) {
    EndDialog(dialog, IDCANCEL);
    return true;
  });
  char file[1024] = {};
  for (auto _ : state) {
    OPENFILENAMEA request{};
    request.lStructSize = sizeof request;
    request.lpstrFilter = "All files (*.*)\0*.*\0";
    request.lpstrFile = file;
    request.nMaxFile = sizeof file;
    request.lpstrInitialDir = Folder().c_str();
    request.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    benchmark::DoNotOptimize(GetOpenFileNameA(&request));
  }
  vel::platform::SetModalDialogDriver(nullptr);
}
BENCHMARK(OpenDialog)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("VELMORA_DISPLAY", "headless", 1);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  vel::bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  double floor = reporter.Nanoseconds("ListFolder");
  double dialog = reporter.Nanoseconds("OpenDialog");
  if (floor > 0 && dialog > 0) {
    std::printf("read and sort %d names:          %.1f ms\n", kFiles, floor / 1e6);
    std::printf("open dialog on %d files:         %.1f ms\n", kFiles, dialog / 1e6);
    std::printf("ratio dialog/listing = %.2f\n", dialog / floor);
  }
  std::error_code ignored;
  std::filesystem::remove_all(Folder(), ignored);
  return 0;
}
