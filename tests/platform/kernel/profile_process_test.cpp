// Several processes writing one profile: nothing may be lost, and a writer killed at any moment
// leaves a whole file behind.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <string>

#include "platform/kernel/profile_document.h"
#include "tests/platform/kernel/profile_test_support.h"
#include "win32.h"

namespace {

using ProfileProcesses = vel::platform::testing::ProfileDirectory;
using std::string;

// Runs `body` in a child process and returns its pid; the child ends with body's result.
template <typename Body>
pid_t Spawn(Body body) {
  pid_t pid = fork();
  if (pid == 0) _exit(body() ? 0 : 1);
  return pid;
}

int ExitStatus(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(ProfileProcesses, TwoWritersOfDifferentKeysLoseNothing) {
  string file = Private("shared.ini");
  constexpr int kWrites = 1000;
  auto writer = [&](const char* prefix) {
    return [&file, prefix] {
      for (int i = 0; i < kWrites; ++i) {
        string key = string(prefix) + std::to_string(i % 50);
        string value = std::to_string(i);
        if (!WritePrivateProfileStringA(i % 2 == 0 ? "Even" : "Odd", key.c_str(), value.c_str(), file.c_str())) {
          return false;
        }
      }
      return true;
    };
  };
  pid_t first = Spawn(writer("a"));
  pid_t second = Spawn(writer("b"));
  ASSERT_EQ(ExitStatus(first), 0);
  ASSERT_EQ(ExitStatus(second), 0);

  // Each key holds the last value its writer gave it.
  for (const char* prefix : {"a", "b"}) {
    for (int k = 0; k < 50; ++k) {
      string key = string(prefix) + std::to_string(k);
      int last = kWrites - 50 + k;
      EXPECT_EQ(GetPrivateProfileIntA(k % 2 == 0 ? "Even" : "Odd", key.c_str(), -1, file.c_str()),
                static_cast<UINT>(last))
          << key;
    }
  }
  vel::platform::ProfileDocument document(ReadBytes(file));
  EXPECT_EQ(document.SectionNames().size(), 2u);
  EXPECT_EQ(document.KeyNames("Even").size(), 50u);
  EXPECT_EQ(document.KeyNames("Odd").size(), 50u);
}

TEST_F(ProfileProcesses, AWriterKilledAtAnyMomentLeavesTheOldOrTheNewFile) {
  string file = Private("crash.ini");
  // Large values make each rewrite long enough for a kill to land in the middle of it.
  const string padding(4000, 'p');
  std::mt19937 random(12345);
  int previousKeys = 0;
  for (int round = 0; round < 12; ++round) {
    pid_t child = Spawn([&] {
      for (int i = 0;; ++i) {
        string key = "k" + std::to_string(i);
        if (!WritePrivateProfileStringA("Crash", key.c_str(), (std::to_string(i) + padding).c_str(), file.c_str())) {
          return false;
        }
      }
    });
    // The first round waits for the first whole file, so a slow start (a loaded machine, a
    // sanitizer's start-up) cannot leave every round killed before its first write.
    for (int waited = 0; round == 0 && ReadBytes(file).empty() && waited < 20000; ++waited) usleep(1000);
    usleep(static_cast<useconds_t>(2000 + random() % 30000));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer failed before it was killed";

    // Whole means: every line complete, every value intact, nothing from an earlier round gone.
    string bytes = ReadBytes(file);
    if (bytes.empty()) continue;
    vel::platform::ProfileDocument document(bytes);
    ASSERT_EQ(bytes.substr(0, 9), "[Crash]\r\n");
    ASSERT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    std::vector<std::string_view> keys = document.KeyNames("Crash");
    ASSERT_GE(static_cast<int>(keys.size()), previousKeys);
    for (std::string_view key : keys) {
      auto value = document.FindValue("Crash", key);
      ASSERT_TRUE(value.has_value());
      ASSERT_EQ(*value, string(key.substr(1)) + padding) << "torn value of " << key;
    }
    previousKeys = static_cast<int>(keys.size());
  }
  EXPECT_GT(previousKeys, 0);
}

}  // namespace
