#include "platform/display/sdl/x11_program_windows.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <charconv>
#include <cstring>

namespace vel::platform {
namespace {

constexpr const char* kPropertyName = "_VELMORA_PROGRAM_WINDOW";
/// The longest property text read (in 32-bit units, as X counts): far more than a bus name and
/// two numbers need.
constexpr long kPropertyLongs = 64;
/// Window managers put frames (and frames in frames) around the program's windows.
constexpr int kDeepestFrame = 8;

bool ParseNumber(std::string_view text, uint64_t& value) {
  if (text.empty()) return false;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::string ProgramWindowText(const ProgramWindow& window) {
  return window.program + " " + std::to_string(window.processId) + " " + std::to_string(window.window);
}

std::optional<ProgramWindow> ParseProgramWindowText(const std::string& text) {
  const size_t first = text.find(' ');
  const size_t second = first == std::string::npos ? first : text.find(' ', first + 1);
  if (first == 0 || second == std::string::npos) return std::nullopt;
  ProgramWindow window;
  window.program = text.substr(0, first);
  const std::string_view view(text);
  if (!ParseNumber(view.substr(first + 1, second - first - 1), window.processId) ||
      !ParseNumber(view.substr(second + 1), window.window) || window.window == 0) {
    return std::nullopt;
  }
  return window;
}

std::unique_ptr<X11ProgramWindows> X11ProgramWindows::Open(const char* videoDriver) {
  if (videoDriver == nullptr || std::strcmp(videoDriver, "x11") != 0) return nullptr;
  return std::unique_ptr<X11ProgramWindows>(new X11ProgramWindows());
}

X11ProgramWindows::~X11ProgramWindows() {
  if (m_lookups != nullptr) XCloseDisplay(m_lookups);
}

unsigned long X11ProgramWindows::Property(_XDisplay* display) {
  if (m_property == None) m_property = XInternAtom(display, kPropertyName, False);
  return m_property;
}

void X11ProgramWindows::Mark(SDL_Window* desktopWindow, const ProgramWindow& window, unsigned long& marked) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(desktopWindow, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return;
  if (info.info.x11.window == marked) return;
  marked = info.info.x11.window;
  // SDL's own connection, so the property follows the window's creation in the same stream.
  const std::string text = ProgramWindowText(window);
  std::lock_guard lock(m_mutex);
  XChangeProperty(info.info.x11.display, info.info.x11.window, Property(info.info.x11.display), XA_STRING, 8,
                  PropModeReplace,
                  reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
  XFlush(info.info.x11.display);
}

std::optional<ProgramWindow> X11ProgramWindows::MarkedWindowAt(int x, int y) {
  std::lock_guard lock(m_mutex);
  if (!m_lookupsTried) {
    m_lookupsTried = true;
    m_lookups = XOpenDisplay(nullptr);
  }
  if (m_lookups == nullptr) return std::nullopt;
  const Window root = DefaultRootWindow(m_lookups);
  const Atom property = Property(m_lookups);
  int atX = 0;
  int atY = 0;
  Window under = None;
  // The topmost mapped child of the root at the point, then down through any frames around it.
  if (!XTranslateCoordinates(m_lookups, root, root, x, y, &atX, &atY, &under)) return std::nullopt;
  for (int depth = 0; under != None && depth < kDeepestFrame; ++depth) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(m_lookups, under, property, 0, kPropertyLongs, False, XA_STRING, &type, &format,
                           &count, &remaining, &data) == Success &&
        data != nullptr) {
      std::string text;
      if (type == XA_STRING && format == 8 && remaining == 0) text.assign(reinterpret_cast<char*>(data), count);
      XFree(data);
      return ParseProgramWindowText(text);
    }
    Window inner = None;
    if (!XTranslateCoordinates(m_lookups, root, under, x, y, &atX, &atY, &inner)) break;
    under = inner;
  }
  return std::nullopt;
}

}  // namespace vel::platform
