#include "bench/private_x_server.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace vel::bench {
namespace {

bool OwnedBy(Display* display, Window window, pid_t pid) {
  const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
  Atom type = 0;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* value = nullptr;
  if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &items, &after, &value) !=
          Success ||
      value == nullptr) {
    return false;
  }
  const bool owned = format == 32 && items == 1 && static_cast<pid_t>(*reinterpret_cast<unsigned long*>(value)) == pid;
  XFree(value);
  return owned;
}

bool ShowsAnything(Display* display, Window window) {
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable) return false;
  XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                            static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
  if (image == nullptr) return false;
  bool anything = false;
  for (int y = 0; y < attributes.height && !anything; ++y) {
    for (int x = 0; x < attributes.width && !anything; ++x) anything = XGetPixel(image, x, y) != 0;
  }
  XDestroyImage(image);
  return anything;
}

}  // namespace

PrivateXServer::PrivateXServer() {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return;
  const std::string displayFd = std::to_string(pipeEnds[1]);
  const char* argv[] = {"Xvfb", "-displayfd", displayFd.c_str(), "-screen", "0", "800x200x24", "-nolisten", "tcp",
                        "-br", "-noreset", nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  if (posix_spawnp(&m_pid, "Xvfb", &actions, nullptr, const_cast<char**>(argv), environ) != 0) m_pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  // The server writes its display number once it accepts connections.
  std::string number;
  char c = 0;
  while (m_pid > 0 && read(pipeEnds[0], &c, 1) == 1 && c != '\n') number.push_back(c);
  close(pipeEnds[0]);
  if (m_pid <= 0 || number.empty()) return;
  m_name = ":" + number;
  m_display = XOpenDisplay(m_name.c_str());
  // A window can go between listing it and asking about it; that is no reason to stop.
  XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
}

PrivateXServer::~PrivateXServer() {
  if (m_display != nullptr) XCloseDisplay(m_display);
  if (m_pid > 0) {
    kill(m_pid, SIGTERM);
    waitpid(m_pid, nullptr, 0);
  }
}

bool PrivateXServer::WaitForPaintedWindow(pid_t pid, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < end) {
    if (PaintedWindowOf(pid)) return true;
    const timespec pause{0, 1'000'000};
    nanosleep(&pause, nullptr);
  }
  return false;
}

bool PrivateXServer::PaintedWindowOf(pid_t pid) {
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(m_display, DefaultRootWindow(m_display), &root, &parent, &children, &count)) return false;
  bool painted = false;
  for (unsigned i = 0; i < count && !painted; ++i) {
    painted = OwnedBy(m_display, children[i], pid) && ShowsAnything(m_display, children[i]);
  }
  if (children != nullptr) XFree(children);
  return painted;
}

}  // namespace vel::bench
