#include "platform/display/sdl/sdl_display.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/display/sdl/desktop_scale.h"
#include "platform/display/sdl/sdl_cursors.h"
#include "platform/display/sdl/sdl_keys.h"
#include "platform/display/sdl/sdl_window_mirror.h"
#include "platform/display/sdl/typed_text.h"
#include "platform/display/sdl/x11_errors.h"
#include "platform/display/sdl/x11_program_windows.h"
#include "platform/gdi/display_metrics.h"
#include "platform/gdi/window_framebuffers.h"
#include "platform/kernel/ansi_text.h"
#include "platform/kernel/clock.h"
#include "platform/user/clipboard_store.h"

namespace vel::platform {
namespace {

/// How long the SDL thread waits for desktop events at most before it looks at its message
/// queue again: the window manager's own wait knows nothing of the desktop, so the SDL thread
/// never sleeps there and polls its queue at this pace instead.
constexpr uint32_t kEventSliceMs = 10;
/// Framebuffers are copied to the desktop at most this often (and at once after an expose).
constexpr uint64_t kPresentIntervalMs = 20;

/// The desktop windows are made able to show device pixels (SDL_WINDOW_ALLOW_HIGHDPI) so that a
/// scaling desktop does not blow the framebuffer up.
constexpr Uint32 kWindowFlags = SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI;

/// Device pixels per desktop unit, measured on a window that is never shown: a desktop that
/// scales gives it more pixels than units. Measured once, before any window is laid out, since
/// LOGPIXELSX/Y must not change under a running program.
double MeasureDensity() {
  SDL_Window* probe = SDL_CreateWindow("", 0, 0, 64, 64, kWindowFlags);
  if (probe == nullptr) return 1.0;
  int units = 0;
  int pixels = 0;
  SDL_GetWindowSize(probe, &units, nullptr);
  SDL_GetWindowSizeInPixels(probe, &pixels, nullptr);
  SDL_DestroyWindow(probe);
  return units > 0 ? static_cast<double>(pixels) / units : 1.0;
}

class SdlDisplay final : public DisplayBackend {
 public:
  SdlDisplay()
      : m_sdlThread(std::this_thread::get_id()),
        m_scale(MeasureDensity()),
        m_programWindows(X11ProgramWindows::Open(SDL_GetCurrentVideoDriver())) {
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.w > 0 && mode.h > 0) m_screen = {mode.w, mode.h};
    float reportedDpi = 0;
    if (SDL_GetDisplayDPI(0, nullptr, &reportedDpi, nullptr) != 0) reportedDpi = 0;
    SetDisplayMetrics(DisplayMetrics{m_screen.cx, m_screen.cy, m_scale.Dpi(reportedDpi)});
    SDL_StartTextInput();
    SDL_EventState(SDL_DROPFILE, SDL_ENABLE);
  }

  const char* Name() const override { return "sdl"; }
  SIZE ScreenSize() const override { return m_screen; }

  void TopLevelCreated(HWND window) override {
    std::lock_guard lock(m_mutex);
    auto mirror = std::make_unique<SdlWindowMirror>();
    mirror->window = window;
    m_windows.push_back(std::move(mirror));
  }

  void TopLevelChanged(HWND window, const RECT& screenRect, bool visible) override {
    std::lock_guard lock(m_mutex);
    if (SdlWindowMirror* mirror = FindLocked(window)) {
      mirror->rect = screenRect;
      mirror->visible = visible;
      mirror->changed = true;
    }
  }

  void TopLevelTitleChanged(HWND window, const std::string& title) override {
    std::lock_guard lock(m_mutex);
    if (SdlWindowMirror* mirror = FindLocked(window)) {
      mirror->title = title;
      mirror->changed = true;
    }
  }

  void TopLevelIconChanged(HWND window, HICON icon) override {
    // The picture is taken now, on the caller's thread: the SDL thread may get to the window
    // after the program has destroyed the icon.
    std::optional<DesktopPicture> picture = icon != nullptr ? PictureOfIcon(icon) : std::nullopt;
    std::lock_guard lock(m_mutex);
    if (SdlWindowMirror* mirror = FindLocked(window)) {
      mirror->icon = std::move(picture);
      mirror->iconChanged = true;
      mirror->changed = true;
    }
  }

  void TopLevelActivated(HWND window) override {
    std::lock_guard lock(m_mutex);
    m_activeWindow = window;
    if (SdlWindowMirror* mirror = FindLocked(window)) {
      mirror->wantsFocus = true;
      mirror->changed = true;
    }
  }

  void CursorChanged(HCURSOR cursor) override {
    std::lock_guard lock(m_mutex);
    m_wantedCursor = cursor;
    m_cursorChanged = true;
  }

  void NameProgram(const std::string& program, uint64_t processId) override {
    std::lock_guard lock(m_mutex);
    m_programName = program;
    m_processId = processId;
  }

  std::optional<ProgramWindow> OtherProgramWindowAt(POINT screenPoint) override {
    if (m_programWindows == nullptr) return std::nullopt;
    std::optional<ProgramWindow> found =
        m_programWindows->MarkedWindowAt(m_scale.ToDesktop(screenPoint.x), m_scale.ToDesktop(screenPoint.y));
    std::lock_guard lock(m_mutex);
    if (!found || found->program == m_programName) return std::nullopt;
    return found;
  }

  void TopLevelDestroyed(HWND window) override {
    std::lock_guard lock(m_mutex);
    if (m_activeWindow == window) m_activeWindow = nullptr;
    if (SdlWindowMirror* mirror = FindLocked(window)) {
      mirror->destroyed = true;
      mirror->changed = true;
    }
  }

  bool Idle(std::optional<uint64_t> nextTimerDue) override {
    // SDL's video calls belong to the thread that started it; other threads wait as usual.
    if (std::this_thread::get_id() != m_sdlThread) return false;
    FollowWindowManager();
    FollowCursor();
    SendClipboardToDesktop();
    const uint64_t now = CurrentClock().NowMilliseconds();
    if (m_exposed || now >= m_lastPresent + kPresentIntervalMs) {
      PresentAll();
      m_lastPresent = now;
      m_exposed = false;
    }
    uint32_t wait = kEventSliceMs;
    if (nextTimerDue) wait = static_cast<uint32_t>(std::min<uint64_t>(wait, *nextTimerDue > now ? *nextTimerDue - now : 0));
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, static_cast<int>(wait)) != 0) {
      Handle(event);
      while (SDL_PollEvent(&event) != 0) Handle(event);
    }
    ReportActivation();
    FollowHeldPointer();
    return true;
  }

  /// SDL reports no motion when the pointer keeps its place relative to the window under it,
  /// which is just what happens while the program drags that window along with a held button.
  /// The desktop's pointer position fills the gap.
  void FollowHeldPointer() {
    int globalX = 0;
    int globalY = 0;
    if (SDL_GetGlobalMouseState(&globalX, &globalY) == 0) return;
    const POINT now = GlobalMousePoint();
    if (now.x == m_lastMotion.x && now.y == m_lastMotion.y) return;
    m_lastMotion = now;
    if (InputSink* sink = Sink()) sink->MouseMoved(now);
  }

 private:
  SdlWindowMirror* FindLocked(HWND window) {
    for (auto& mirror : m_windows) {
      if (mirror->window == window && !mirror->destroyed) return mirror.get();
    }
    return nullptr;
  }

  SdlWindowMirror* FindByDesktopId(uint32_t id) {
    SDL_Window* desktopWindow = SDL_GetWindowFromID(id);
    if (desktopWindow == nullptr) return nullptr;
    std::lock_guard lock(m_mutex);
    for (auto& mirror : m_windows) {
      if (mirror->desktopWindow == desktopWindow) return mirror.get();
    }
    return nullptr;
  }

  /// Shows the cursor last set, and lets go of cursors the program has destroyed.
  void FollowCursor() {
    HCURSOR cursor = nullptr;
    bool changed = false;
    {
      std::lock_guard lock(m_mutex);
      cursor = m_wantedCursor;
      changed = m_cursorChanged;
      m_cursorChanged = false;
    }
    m_cursors.ForgetDestroyed();
    if (changed) m_cursors.Show(cursor);
  }

  /// Gives a desktop window the icon's picture (the desktop keeps a copy).
  static void ApplyIcon(SdlWindowMirror& mirror) {
    mirror.iconChanged = false;
    if (!mirror.icon || mirror.icon->width <= 0 || mirror.icon->height <= 0) return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(mirror.icon->pixels.data(), mirror.icon->width,
                                                              mirror.icon->height, 32, mirror.icon->width * 4,
                                                              SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr) return;
    SDL_SetWindowIcon(mirror.desktopWindow, surface);
    SDL_FreeSurface(surface);
  }

  /// Makes the desktop windows follow the window manager: created when first shown, moved,
  /// sized, shown, hidden, minimised, renamed and destroyed as the top-level windows are.
  void FollowWindowManager() {
    std::vector<SDL_Window*> toDestroy;
    {
      std::lock_guard lock(m_mutex);
      for (auto it = m_windows.begin(); it != m_windows.end();) {
        SdlWindowMirror& mirror = **it;
        if (mirror.destroyed) {
          if (mirror.desktopWindow != nullptr) toDestroy.push_back(mirror.desktopWindow);
          it = m_windows.erase(it);
          continue;
        }
        ++it;
      }
    }
    for (SDL_Window* window : toDestroy) SDL_DestroyWindow(window);
    bool stackingChanged = !toDestroy.empty();

    // The window manager is asked about its windows before the lock is taken: it may hold its
    // own lock while it reports a change to this backend.
    std::vector<HWND> handles;
    {
      std::lock_guard lock(m_mutex);
      for (auto& pointer : m_windows) handles.push_back(pointer->window);
    }
    std::vector<HWND> minimizedWindows;
    std::vector<HWND> topmostWindows;
    for (HWND handle : handles) {
      if (IsIconic(handle)) minimizedWindows.push_back(handle);
      if (GetWindowLongA(handle, GWL_EXSTYLE) & WS_EX_TOPMOST) topmostWindows.push_back(handle);
    }
    auto contains = [](const std::vector<HWND>& list, HWND handle) {
      return std::find(list.begin(), list.end(), handle) != list.end();
    };

    std::lock_guard lock(m_mutex);
    for (auto& pointer : m_windows) {
      SdlWindowMirror& mirror = *pointer;
      const bool minimized = contains(minimizedWindows, mirror.window);
      const bool topmost = contains(topmostWindows, mirror.window);
      if (!mirror.changed && minimized == mirror.shownMinimized) continue;
      mirror.changed = false;
      // The desktop measures in its own units; the framebuffer stays in device pixels.
      const int width = std::max(1, m_scale.LengthToDesktop(mirror.rect.right - mirror.rect.left));
      const int height = std::max(1, m_scale.LengthToDesktop(mirror.rect.bottom - mirror.rect.top));
      const int left = m_scale.ToDesktop(mirror.rect.left);
      const int top = m_scale.ToDesktop(mirror.rect.top);
      if (mirror.desktopWindow == nullptr) {
        if (!mirror.visible) continue;
        // The platform draws each window's frame, caption and menu bar itself, so the desktop
        // window is a plain borderless rectangle showing the whole framebuffer.
        Uint32 flags = kWindowFlags;
        if (topmost) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
        mirror.desktopWindow = SDL_CreateWindow(AnsiToUtf8(mirror.title).c_str(), left, top, width, height, flags);
        if (mirror.desktopWindow == nullptr) continue;
        mirror.shownTopmost = topmost;
        mirror.shownRect = mirror.rect;
        mirror.shownTitle = mirror.title;
        mirror.iconChanged = true;
      }
      if (mirror.iconChanged) ApplyIcon(mirror);
      // HWND_TOPMOST on a window already shown: the desktop's window manager keeps it above
      // the others (_NET_WM_STATE_ABOVE on X11).
      if (topmost != mirror.shownTopmost) {
        SDL_SetWindowAlwaysOnTop(mirror.desktopWindow, topmost ? SDL_TRUE : SDL_FALSE);
        mirror.shownTopmost = topmost;
      }
      if (mirror.rect.left != mirror.shownRect.left || mirror.rect.top != mirror.shownRect.top) {
        SDL_SetWindowPosition(mirror.desktopWindow, left, top);
      }
      SDL_SetWindowSize(mirror.desktopWindow, width, height);
      mirror.shownRect = mirror.rect;
      if (mirror.title != mirror.shownTitle) {
        SDL_SetWindowTitle(mirror.desktopWindow, AnsiToUtf8(mirror.title).c_str());
        mirror.shownTitle = mirror.title;
      }
      if (mirror.visible != mirror.shownVisible) {
        stackingChanged = true;
        if (mirror.visible) {
          // Showing is not activating: popups such as menus and tips must leave the keyboard
          // where it is. Windows the program activates are raised and focused below.
          SDL_ShowWindow(mirror.desktopWindow);
        } else {
          SDL_HideWindow(mirror.desktopWindow);
        }
        mirror.shownVisible = mirror.visible;
      }
      if (minimized != mirror.shownMinimized && mirror.visible) {
        if (minimized) {
          SDL_MinimizeWindow(mirror.desktopWindow);
        } else {
          SDL_RestoreWindow(mirror.desktopWindow);
        }
      }
      mirror.shownMinimized = minimized;
      if (mirror.wantsFocus && mirror.shownVisible && !minimized) {
        mirror.wantsFocus = false;
        if (SDL_GetKeyboardFocus() != mirror.desktopWindow) {
          SDL_RaiseWindow(mirror.desktopWindow);
          SDL_SetWindowInputFocus(mirror.desktopWindow);
        }
      }
      m_exposed = true;
    }
    if (stackingChanged) KeepKeyboardWithActiveWindow();
  }

  /// Tells other runtime programs on the desktop whose window this is. SDL may replace a
  /// desktop window's X window when it first gives it a surface, so this is looked at whenever
  /// the window is presented. Lock held, SDL thread.
  void MarkAsProgramWindow(SdlWindowMirror& mirror) {
    if (m_programWindows == nullptr || mirror.desktopWindow == nullptr || m_programName.empty()) return;
    m_programWindows->Mark(mirror.desktopWindow,
                           ProgramWindow{m_programName, m_processId, reinterpret_cast<uintptr_t>(mirror.window)},
                           mirror.markedX11Window);
  }

  /// Without a desktop window manager SDL gives every window it shows the keyboard, and a
  /// destroyed window leaves it nowhere. Popups such as menus and tips are shown without
  /// activation, so the keyboard goes back to the window the program has active. Called with
  /// the lock held, on the SDL thread.
  void KeepKeyboardWithActiveWindow() {
    SdlWindowMirror* active = FindLocked(m_activeWindow);
    if (active == nullptr || active->desktopWindow == nullptr || !active->shownVisible || active->shownMinimized) return;
    SDL_Window* focused = SDL_GetKeyboardFocus();
    if (focused == active->desktopWindow) return;
    // The keyboard is somewhere else of this program's, or lost with a window just destroyed;
    // never taken back from another program.
    bool ours = focused == nullptr;
    for (auto& pointer : m_windows) ours = ours || pointer->desktopWindow == focused;
    if (ours) SDL_SetWindowInputFocus(active->desktopWindow);
  }

  /// Copies every shown window's framebuffer to its desktop window.
  void PresentAll() {
    std::lock_guard lock(m_mutex);
    for (auto& pointer : m_windows) {
      SdlWindowMirror& mirror = *pointer;
      if (mirror.desktopWindow == nullptr || !mirror.shownVisible) continue;
      std::shared_ptr<Surface> framebuffer = FindTopLevelFramebuffer(mirror.window);
      SDL_Surface* target = SDL_GetWindowSurface(mirror.desktopWindow);
      if (framebuffer == nullptr || target == nullptr) continue;
      MarkAsProgramWindow(mirror);
      const int width = std::min(framebuffer->Width(), target->w);
      const int height = std::min(framebuffer->Height(), target->h);
      if (width <= 0 || height <= 0) continue;
      if (SDL_MUSTLOCK(target)) SDL_LockSurface(target);
      // Framebuffer rows are 0x00RRGGBB words, SDL's XRGB8888; SDL converts to the window's format.
      const ptrdiff_t sourceStride = height > 1 ? (framebuffer->Row(1) - framebuffer->Row(0)) : framebuffer->Width();
      if (sourceStride > 0) {
        SDL_ConvertPixels(width, height, SDL_PIXELFORMAT_XRGB8888, framebuffer->Row(0),
                          static_cast<int>(sourceStride * 4), target->format->format, target->pixels, target->pitch);
      } else {
        for (int y = 0; y < height; ++y) {
          SDL_ConvertPixels(width, 1, SDL_PIXELFORMAT_XRGB8888, framebuffer->Row(y), width * 4,
                            target->format->format, static_cast<uint8_t*>(target->pixels) + y * target->pitch,
                            target->pitch);
        }
      }
      if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
      SDL_UpdateWindowSurface(mirror.desktopWindow);
    }
  }

  /// The screen point (in the window manager's coordinates) of a point in a desktop window.
  POINT ScreenPoint(uint32_t desktopId, int x, int y) {
    const POINT offset = m_scale.PointToPixels(x, y);
    if (SdlWindowMirror* mirror = FindByDesktopId(desktopId)) {
      std::lock_guard lock(m_mutex);
      return POINT{mirror->shownRect.left + offset.x, mirror->shownRect.top + offset.y};
    }
    return offset;
  }

  /// Where the pointer is now on the desktop, as a screen point.
  POINT GlobalMousePoint() const {
    int globalX = 0;
    int globalY = 0;
    SDL_GetGlobalMouseState(&globalX, &globalY);
    return POINT{m_scale.ToPixels(globalX), m_scale.ToPixels(globalY)};
  }

  /// Where the mouse is now, for events that carry no position (file drops).
  POINT MouseNow(uint32_t desktopId) {
    int globalX = 0;
    int globalY = 0;
    SDL_GetGlobalMouseState(&globalX, &globalY);
    SDL_Window* window = SDL_GetWindowFromID(desktopId);
    if (window == nullptr) window = SDL_GetMouseFocus();
    int originX = 0;
    int originY = 0;
    if (window != nullptr) SDL_GetWindowPosition(window, &originX, &originY);
    return ScreenPoint(window != nullptr ? SDL_GetWindowID(window) : 0, globalX - originX, globalY - originY);
  }

  void Handle(const SDL_Event& event) {
    InputSink* sink = Sink();
    switch (event.type) {
      case SDL_MOUSEMOTION:
        if (sink != nullptr) {
          // While a button is held the program may be moving the window under the pointer; a
          // position relative to the window would then be read against where the window is now
          // rather than where it was, so the desktop's own pointer position is taken instead.
          m_lastMotion = event.motion.state != 0 ? GlobalMousePoint()
                                                 : ScreenPoint(event.motion.windowID, event.motion.x, event.motion.y);
          sink->MouseMoved(m_lastMotion);
        }
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: {
        const int button = event.button.button == SDL_BUTTON_LEFT    ? 0
                           : event.button.button == SDL_BUTTON_RIGHT ? 1
                           : event.button.button == SDL_BUTTON_MIDDLE ? 2
                                                                      : -1;
        if (sink != nullptr && button >= 0) {
          // A release may end a drag that moved the window under the pointer (see the motion
          // events above), so it is placed by the desktop's pointer position.
          const bool down = event.type == SDL_MOUSEBUTTONDOWN;
          sink->MouseButton(button, down,
                            down ? ScreenPoint(event.button.windowID, event.button.x, event.button.y)
                                 : GlobalMousePoint());
        }
        break;
      }
      case SDL_MOUSEWHEEL: {
        // A notch is WHEEL_DELTA; finer wheels and touchpads report parts of one.
        const float direction = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1.0f : 1.0f;
        const long delta = std::lround(event.wheel.preciseY * direction * WHEEL_DELTA);
        const long sideways = std::lround(event.wheel.preciseX * direction * WHEEL_DELTA);
        const POINT point = ScreenPoint(event.wheel.windowID, event.wheel.mouseX, event.wheel.mouseY);
        if (sink != nullptr && delta != 0) sink->MouseWheel(static_cast<int>(delta), point);
        if (sink != nullptr && sideways != 0) sink->MouseSidewaysWheel(static_cast<int>(sideways), point);
        break;
      }
      case SDL_KEYDOWN:
      case SDL_KEYUP: {
        bool extended = false;
        const BYTE key = VirtualKeyFromSdl(event.key.keysym, &extended);
        if (sink != nullptr && key != 0) sink->Key(key, event.type == SDL_KEYDOWN, extended);
        break;
      }
      case SDL_TEXTINPUT:
        if (sink != nullptr) DeliverTypedText(*sink, event.text.text);
        break;
      case SDL_DROPFILE:
        if (event.drop.file != nullptr) {
          m_droppedPaths.push_back(Utf8ToAnsi(event.drop.file));
          SDL_free(event.drop.file);
        }
        m_dropWindow = event.drop.windowID;
        break;
      case SDL_DROPCOMPLETE:
        if (sink != nullptr && !m_droppedPaths.empty()) sink->FilesDropped(MouseNow(m_dropWindow), m_droppedPaths);
        m_droppedPaths.clear();
        break;
      case SDL_CLIPBOARDUPDATE: TakeClipboardFromDesktop(); break;
      case SDL_WINDOWEVENT: HandleWindowEvent(event.window); break;
      default: break;
    }
  }

  void HandleWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
      case SDL_WINDOWEVENT_EXPOSED:
      case SDL_WINDOWEVENT_SIZE_CHANGED: m_exposed = true; break;
      case SDL_WINDOWEVENT_FOCUS_GAINED: m_focusedWindows = true; break;
      case SDL_WINDOWEVENT_FOCUS_LOST: m_focusedWindows = SDL_GetKeyboardFocus() != nullptr; break;
      case SDL_WINDOWEVENT_CLOSE:
        if (SdlWindowMirror* mirror = FindByDesktopId(event.windowID)) PostMessageA(mirror->window, WM_CLOSE, 0, 0);
        break;
      case SDL_WINDOWEVENT_MINIMIZED:
      case SDL_WINDOWEVENT_RESTORED:
        FollowDesktopMinimize(event.windowID, event.event == SDL_WINDOWEVENT_MINIMIZED);
        break;
      default: break;
    }
  }

  /// The desktop minimised or restored a window by itself (its taskbar, a window manager's
  /// button). The program is asked as if its own caption button had been used; should it
  /// refuse, the next pass puts the desktop window back the way the program has it.
  void FollowDesktopMinimize(uint32_t desktopId, bool minimized) {
    SdlWindowMirror* mirror = FindByDesktopId(desktopId);
    // Only a change of what the desktop shows counts; the echo of our own minimise or restore
    // finds the state already recorded.
    if (mirror == nullptr || mirror->shownMinimized == minimized) return;
    mirror->shownMinimized = minimized;
    const HWND window = mirror->window;
    if ((IsIconic(window) != FALSE) != minimized) {
      PostMessageA(window, WM_SYSCOMMAND, minimized ? SC_MINIMIZE : SC_RESTORE, 0);
    }
  }

  /// Reports a switch to or from another program once per batch of events, so moving the focus
  /// between two of this program's windows (lost, then gained) is no switch at all.
  void ReportActivation() {
    if (m_focusedWindows == m_reportedActive) return;
    m_reportedActive = m_focusedWindows;
    if (Sink() != nullptr) Sink()->ApplicationActivated(m_reportedActive);
  }

  /// CF_TEXT put on the clipboard by the program goes to the desktop's clipboard.
  void SendClipboardToDesktop() {
    std::optional<std::vector<BYTE>> bytes = ClipboardBytes(CF_TEXT);
    if (!bytes) return;
    std::string text(bytes->begin(), std::find(bytes->begin(), bytes->end(), BYTE{0}));
    if (text == m_clipboardText) return;
    m_clipboardText = text;
    SDL_SetClipboardText(AnsiToUtf8(text).c_str());
  }

  /// Text copied on the desktop becomes the clipboard's CF_TEXT.
  void TakeClipboardFromDesktop() {
    if (SDL_HasClipboardText() != SDL_TRUE) return;
    char* utf8 = SDL_GetClipboardText();
    if (utf8 == nullptr) return;
    std::string text = Utf8ToAnsi(utf8);
    SDL_free(utf8);
    if (text == m_clipboardText) return;
    m_clipboardText = text;
    std::vector<BYTE> bytes(text.begin(), text.end());
    bytes.push_back(0);
    PutClipboardBytes(CF_TEXT, std::move(bytes));
  }

  const std::thread::id m_sdlThread;
  const DesktopScale m_scale;
  SdlCursors m_cursors;
  const std::unique_ptr<X11ProgramWindows> m_programWindows;
  /// This program's bus name and process id, once it has one (under m_mutex).
  std::string m_programName;
  uint64_t m_processId = 0;
  HCURSOR m_wantedCursor = nullptr;
  bool m_cursorChanged = false;
  SIZE m_screen{1024, 768};
  std::mutex m_mutex;
  /// The top-level window the window manager has active (under m_mutex).
  HWND m_activeWindow = nullptr;
  /// The last pointer position reported to the window manager (SDL thread only).
  POINT m_lastMotion{-1, -1};
  std::vector<std::unique_ptr<SdlWindowMirror>> m_windows;
  uint64_t m_lastPresent = 0;
  bool m_exposed = false;
  bool m_focusedWindows = true;
  bool m_reportedActive = true;
  std::vector<std::string> m_droppedPaths;
  uint32_t m_dropWindow = 0;
  std::string m_clipboardText;
};

}  // namespace

std::unique_ptr<DisplayBackend> CreateSdlDisplay(std::string* whyNot) {
  // The platform turns termination signals into WM_CLOSE itself; SDL must not take them over.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  // Only the desktops the environment names are tried (unless SDL_VIDEODRIVER chooses), so a
  // desktop that does not answer is reported as it is, not hidden behind another's attempt.
  if (std::getenv("SDL_VIDEODRIVER") == nullptr) {
    const bool wayland = std::getenv("WAYLAND_DISPLAY") != nullptr && *std::getenv("WAYLAND_DISPLAY") != '\0';
    const bool x11 = std::getenv("DISPLAY") != nullptr && *std::getenv("DISPLAY") != '\0';
    if (wayland || x11) SDL_SetHint(SDL_HINT_VIDEODRIVER, wayland && x11 ? "x11,wayland" : wayland ? "wayland" : "x11");
  }
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    if (whyNot != nullptr) *whyNot = SDL_GetError();
    return nullptr;
  }
  // When no desktop answers, SDL falls back to drivers that show nothing; windows there would
  // be seen by no one. They are used only when SDL_VIDEODRIVER asks for them by name.
  const std::string driver = SDL_GetCurrentVideoDriver() != nullptr ? SDL_GetCurrentVideoDriver() : "";
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  if ((driver == "offscreen" || driver == "dummy") && (asked == nullptr || driver != asked)) {
    SDL_Quit();
    if (whyNot != nullptr) *whyNot = "the desktop does not answer; SDL found only its " + driver + " driver";
    return nullptr;
  }
  KeepRunningOnX11Errors(SDL_GetCurrentVideoDriver());
  return std::make_unique<SdlDisplay>();
}

}  // namespace vel::platform
