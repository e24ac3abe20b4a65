#include "platform/shell/process_launch.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <thread>

#include "platform/kernel/external_work.h"

extern char** environ;

namespace vel::platform {

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
  std::vector<std::string> arguments;
  std::string current;
  bool inArgument = false;
  bool quoted = false;
  for (size_t i = 0; i < commandLine.size(); ++i) {
    const char c = commandLine[i];
    if (c == '"') {
      inArgument = true;
      if (quoted && i + 1 < commandLine.size() && commandLine[i + 1] == '"') {
        current += '"';
        ++i;
      } else {
        quoted = !quoted;
      }
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inArgument) arguments.push_back(std::move(current));
      current.clear();
      inArgument = false;
    } else {
      current += c;
      inArgument = true;
    }
  }
  if (inArgument) arguments.push_back(std::move(current));
  return arguments;
}

int LaunchDetached(const std::vector<std::string>& arguments, const std::string& workingDirectory,
                   bool awaitSettling) {
  if (arguments.empty() || arguments[0].empty()) return ENOENT;
  std::vector<char*> argv;
  argv.reserve(arguments.size() + 1);
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) return ENOMEM;
  int result = 0;
  if (!workingDirectory.empty()) {
    result = posix_spawn_file_actions_addchdir_np(&actions, workingDirectory.c_str());
  }
  // The child starts in its own process group, so a terminal's Ctrl+C aimed at this program
  // does not also end the browser or program it opened.
  posix_spawnattr_t attributes;
  if (result == 0) result = posix_spawnattr_init(&attributes);
  if (result != 0) {
    posix_spawn_file_actions_destroy(&actions);
    return result;
  }
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  pid_t child = 0;
  result = posix_spawnp(&child, argv[0], &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (result != 0) return result;
  if (awaitSettling) ExternalWork::Instance().ChildStarted(child);

  // The caller never waits for what it opened; a detached thread collects the exit status so
  // no zombie is left behind, without touching SIGCHLD, which the program may use itself.
  try {
    std::thread([child] {
      while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
      }
      ExternalWork::Instance().ChildSettled(child);
    }).detach();
  } catch (const std::system_error&) {
    ExternalWork::Instance().ChildSettled(child);
    // Without a thread the child is left for the process's end; it still started.
  }
  return 0;
}

}  // namespace vel::platform
