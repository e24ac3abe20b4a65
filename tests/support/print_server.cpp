#include "tests/support/print_server.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

extern char** environ;

namespace vel::platform::testing {
namespace {

constexpr const char* kScheduler = "/usr/sbin/cupsd";
constexpr const char* kAdmin = "/usr/sbin/lpadmin";

std::string MakeTemporaryDirectory(const char* prefix) {
  std::string pattern = (std::filesystem::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) return {};
  // The scheduler drops to the lp user for its helpers, which must reach the socket and spool.
  chmod(pattern.c_str(), 0755);
  return pattern;
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::trunc);
  out << text;
}

int Spawn(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  int result = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return result == 0 ? pid : -1;
}

std::string TestData(const std::string& name) {
  const char* data = std::getenv("VELMORA_TEST_DATA");
  return std::string(data != nullptr ? data : "tests/data") + "/printing/" + name;
}

}  // namespace

PrintServer::PrintServer() {
  if (access(kScheduler, X_OK) != 0 || access(kAdmin, X_OK) != 0) {
    m_problem = "the CUPS scheduler (cups-daemon, cups-client) is not installed";
    return;
  }
  m_root = MakeTemporaryDirectory("velmora_cups_");
  if (m_root.empty()) {
    m_problem = "no temporary directory";
    return;
  }
  for (const char* folder : {"spool", "cache", "state", "log", "windows", "ppd"}) {
    std::filesystem::create_directories(m_root + "/" + folder);
  }
  m_socket = m_root + "/cups.sock";
  WriteFile(m_root + "/cupsd.conf",
            "Listen " + m_socket +
                "\nBrowsing No\nLogLevel warn\nWebInterface No\nDefaultAuthType None\n"
                "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                "<Location /admin>\n  Order allow,deny\n  Allow all\n</Location>\n"
                "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n");
  WriteFile(m_root + "/cups-files.conf",
            "ServerRoot " + m_root + "\nRequestRoot " + m_root + "/spool\nCacheDir " + m_root + "/cache\nStateDir " +
                m_root + "/state\nTempDir " + m_root + "/spool\nAccessLog " + m_root + "/log/access_log\nErrorLog " +
                m_root + "/log/error_log\nPageLog " + m_root +
                "/log/page_log\nFileDevice Yes\nSandboxing Relaxed\nUser lp\nGroup lp\nSystemGroup root\n");
  m_pid = Spawn({kScheduler, "-f", "-c", m_root + "/cupsd.conf", "-s", m_root + "/cups-files.conf"});
  if (m_pid <= 0) {
    m_problem = "the CUPS scheduler did not start";
    return;
  }
  // The scheduler is ready once its socket exists; it takes well under a second.
  for (int attempt = 0; attempt < 200 && access(m_socket.c_str(), F_OK) != 0; ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  if (access(m_socket.c_str(), F_OK) != 0) {
    m_problem = "the CUPS scheduler made no socket";
    kill(m_pid, SIGTERM);
    waitpid(m_pid, nullptr, 0);
    m_pid = -1;
    return;
  }
  setenv("CUPS_SERVER", m_socket.c_str(), 1);
  setenv("VELMORA_WINDIR", (m_root + "/windows").c_str(), 1);
}

PrintServer::~PrintServer() {
  if (m_pid > 0) {
    kill(m_pid, SIGTERM);
    waitpid(m_pid, nullptr, 0);
  }
  if (!m_root.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
  }
}

bool PrintServer::Admin(const std::vector<std::string>& arguments) {
  if (!Running()) return false;
  std::vector<std::string> command = {kAdmin, "-h", m_socket};
  command.insert(command.end(), arguments.begin(), arguments.end());
  int pid = Spawn(command);
  int status = 0;
  return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool PrintServer::AddQueue(const std::string& name, const std::string& ppdName) {
  std::vector<std::string> arguments = {"-p", name, "-E", "-v", "file:///dev/null"};
  if (ppdName.empty()) {
    arguments.insert(arguments.end(), {"-m", "raw"});
  } else {
    arguments.insert(arguments.end(), {"-P", TestData(ppdName)});
  }
  return Admin(arguments);
}

bool PrintServer::SetDefault(const std::string& name) { return Admin({"-d", name}); }
bool PrintServer::RemoveQueue(const std::string& name) { return Admin({"-x", name}); }

NoPrintServer::NoPrintServer() {
  m_root = MakeTemporaryDirectory("velmora_nocups_");
  setenv("CUPS_SERVER", (m_root + "/nobody.sock").c_str(), 1);
  setenv("VELMORA_WINDIR", (m_root + "/windows").c_str(), 1);
}

NoPrintServer::~NoPrintServer() {
  std::error_code ignored;
  if (!m_root.empty()) std::filesystem::remove_all(m_root, ignored);
}

}  // namespace vel::platform::testing
