// Profile files: parsing 1 MB against inih on the same bytes, reading one key of a 200-key file
// against a bare open-read-close of it, writing one key against a bare read, temporary write,
// fsync and rename. Prints the ratios after the runs.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <ini.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "platform/kernel/profile_document.h"
#include "win32.h"

namespace {

std::string g_directory;
std::string g_largeText;  // About 1 MB of sections and keys.
std::string g_smallPath;  // 200 keys.
std::string g_writePath;

std::string MakeProfile(int sections, int keysPerSection) {
  std::string text;
  for (int s = 0; s < sections; ++s) {
    text += "; settings group " + std::to_string(s) + "\r\n[Section " + std::to_string(s) + "]\r\n";
    for (int k = 0; k < keysPerSection; ++k) {
      text += "Key" + std::to_string(k) + " = value number " + std::to_string(s * 1000 + k) + " of the group\r\n";
    }
    text += "\r\n";
  }
  return text;
}

void WriteFile(const std::string& path, const std::string& text) {
  FILE* file = std::fopen(path.c_str(), "wb");
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
  // Settings files are usually older than the time steps of file stamps; a file written just now
  // is read again on every call until it is (see ProfileStore).
  timespec old[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
  utimensat(AT_FDCWD, path.c_str(), old, 0);
}

void Setup() {
  char pattern[] = "/tmp/profile_bench_XXXXXX";
  g_directory = mkdtemp(pattern);
  g_largeText = MakeProfile(1000, 28);
  g_smallPath = g_directory + "/small.ini";
  g_writePath = g_directory + "/write.ini";
  WriteFile(g_smallPath, MakeProfile(10, 20));
  WriteFile(g_writePath, MakeProfile(10, 20));
}

std::string ReadWhole(const std::string& path) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat info{};
  fstat(fd, &info);
  std::string text(static_cast<size_t>(info.st_size), '\0');
  ssize_t got = read(fd, text.data(), text.size());
  close(fd);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

void BM_ParseOurs(benchmark::State& state) {
  for (auto _ : state) {
    vel::platform::ProfileDocument document(g_largeText);
    benchmark::DoNotOptimize(document.Lines().data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * g_largeText.size()));
}

int CountEntry(void* user, const char*, const char*, const char*) {
  ++*static_cast<long*>(user);
  return 1;
}

void BM_ParseInih(benchmark::State& state) {
  for (auto _ : state) {
    long entries = 0;
    ini_parse_string(g_largeText.c_str(), CountEntry, &entries);
    benchmark::DoNotOptimize(entries);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * g_largeText.size()));
}

void BM_ReadKeyOurs(benchmark::State& state) {
  char buffer[256];
  for (auto _ : state) {
    DWORD length = GetPrivateProfileStringA("Section 9", "Key19", "", buffer, sizeof buffer, g_smallPath.c_str());
    benchmark::DoNotOptimize(length);
  }
}

void BM_ReadKeyFloor(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ReadWhole(g_smallPath));
}

void BM_WriteKeyOurs(benchmark::State& state) {
  long counter = 0;
  for (auto _ : state) {
    std::string value = std::to_string(counter++);
    WritePrivateProfileStringA("Section 5", "Key7", value.c_str(), g_writePath.c_str());
  }
}

void BM_WriteKeyFloor(benchmark::State& state) {
  std::string temporary = g_directory + "/floor.tmp";
  std::string target = g_directory + "/floor.ini";
  WriteFile(target, MakeProfile(10, 20));
  for (auto _ : state) {
    std::string text = ReadWhole(target);
    int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    benchmark::DoNotOptimize(write(fd, text.data(), text.size()));
    fsync(fd);
    close(fd);
    rename(temporary.c_str(), target.c_str());
  }
}

BENCHMARK(BM_ParseOurs);
BENCHMARK(BM_ParseInih);
BENCHMARK(BM_ReadKeyOurs);
BENCHMARK(BM_ReadKeyFloor);
BENCHMARK(BM_WriteKeyOurs);
BENCHMARK(BM_WriteKeyFloor);

// Keeps each benchmark's time per iteration for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) times[run.benchmark_name()] = run.GetAdjustedRealTime();
  }
  std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Setup();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto& t = reporter.times;
  auto ratio = [&](const char* a, const char* b) {
    return t.count(a) != 0 && t.count(b) != 0 && t[b] > 0 ? t[a] / t[b] : 0.0;
  };
  std::printf("\nparse: inih time / ours      = %.2f (goal >= 1.5)\n", ratio("BM_ParseInih", "BM_ParseOurs"));
  std::printf("read one key: ours / floor    = %.2f (goal <= 1.2)\n", ratio("BM_ReadKeyOurs", "BM_ReadKeyFloor"));
  std::printf("write one key: ours / floor   = %.2f (goal <= 1.2)\n", ratio("BM_WriteKeyOurs", "BM_WriteKeyFloor"));
  std::string command = "rm -rf '" + g_directory + "'";
  return std::system(command.c_str()) == 0 ? 0 : 1;
}
