#include "tests/support/session_bus.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>

extern char** environ;

namespace vel::testing {
namespace {

pid_t g_daemon = -1;

// Starts a program with its standard output on a pipe; returns the pid or -1.
pid_t Spawn(const std::vector<std::string>& arguments, int& output) {
  int pipeEnds[2] = {-1, -1};
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  if (pid < 0) {
    close(pipeEnds[0]);
    return -1;
  }
  output = pipeEnds[0];
  return pid;
}

std::string ReadLineFrom(int fd, std::string& buffered, int milliseconds) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  for (;;) {
    size_t end = buffered.find('\n');
    if (end != std::string::npos) {
      std::string line = buffered.substr(0, end);
      buffered.erase(0, end + 1);
      return line;
    }
    auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || fd < 0) return {};
    pollfd wait{fd, POLLIN, 0};
    if (poll(&wait, 1, static_cast<int>(left.count())) <= 0) return {};
    char chunk[512];
    ssize_t got = read(fd, chunk, sizeof chunk);
    if (got <= 0) return {};
    buffered.append(chunk, static_cast<size_t>(got));
  }
}

}  // namespace

bool StartPrivateSessionBus() {
  static std::once_flag once;
  static bool started = false;
  std::call_once(once, [] {
    char directory[] = "/tmp/velbus.XXXXXX";
    if (mkdtemp(directory) == nullptr) return;
    std::string address = std::string("unix:path=") + directory + "/bus";
    int output = -1;
    g_daemon =
        Spawn({"dbus-daemon", "--session", "--nofork", "--print-address=1", "--address=" + address}, output);
    if (g_daemon < 0) return;
    std::string buffered;
    std::string printed = ReadLineFrom(output, buffered, 10000);
    close(output);
    if (printed.empty()) {
      StopPrivateSessionBus();
      return;
    }
    setenv("DBUS_SESSION_BUS_ADDRESS", printed.c_str(), 1);
    std::atexit(StopPrivateSessionBus);
    started = true;
  });
  return started;
}

void StopPrivateSessionBus() {
  if (g_daemon <= 0) return;
  kill(g_daemon, SIGTERM);
  while (waitpid(g_daemon, nullptr, 0) < 0 && errno == EINTR) {
  }
  g_daemon = -1;
}

bool UsePrivateSessionBus() {
  class PrivateBus : public ::testing::Environment {
   public:
    void SetUp() override {
      setenv("VELMORA_DISPLAY", "headless", 1);
      StartPrivateSessionBus();
    }
  };
  ::testing::AddGlobalTestEnvironment(new PrivateBus);
  return true;
}

ChildProgram::ChildProgram(const std::string& path, const std::vector<std::string>& arguments) {
  std::vector<std::string> all{path};
  all.insert(all.end(), arguments.begin(), arguments.end());
  m_pid = Spawn(all, m_output);
}

ChildProgram::~ChildProgram() {
  Kill();
  if (m_output >= 0) close(m_output);
}

std::string ChildProgram::ReadLine(int milliseconds) {
  return ReadLineFrom(m_output, m_buffered, milliseconds);
}

void ChildProgram::Kill() {
  if (m_pid <= 0) return;
  kill(m_pid, SIGKILL);
  Wait();
}

int ChildProgram::Wait() {
  if (m_pid <= 0) return -1;
  int status = 0;
  while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
  }
  m_pid = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace vel::testing
