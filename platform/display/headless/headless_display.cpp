#include "platform/display/headless/headless_display.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/display/keyboard_layout.h"
#include "platform/kernel/external_work.h"

namespace vel::platform {
namespace {

std::vector<std::string> SplitWords(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// A whole decimal number within the range of a 32-bit coordinate.
bool ParseInt(const std::string& text, long* value) {
  char* end = nullptr;
  errno = 0;
  *value = std::strtol(text.c_str(), &end, 10);
  return end != text.c_str() && *end == '\0' && errno == 0 && *value >= INT32_MIN && *value <= INT32_MAX;
}

std::string Trim(const std::string& text) {
  size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  size_t last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

}  // namespace

HeadlessDisplay::HeadlessDisplay() : m_clock(CurrentClock().NowMilliseconds()) {
  InstallClock(&m_clock);
  std::string script;
  if (const char* path = std::getenv("VELMORA_HEADLESS_SCRIPT"); path != nullptr && *path != '\0') {
    std::ifstream file(path);
    if (!file) {
      std::fprintf(stderr, "headless display: cannot read input script %s\n", path);
    } else {
      std::stringstream content;
      content << file.rdbuf();
      for (std::string line; std::getline(content, line);) script += line + ";";
    }
  }
  if (const char* inline_ = std::getenv("VELMORA_HEADLESS_INPUT"); inline_ != nullptr) script += inline_;
  if (!Trim(script).empty()) {
    std::string error;
    if (!QueueScript(script, &error)) std::fprintf(stderr, "headless display: input script: %s\n", error.c_str());
    m_scriptGiven = true;
  }
}

HeadlessDisplay::~HeadlessDisplay() { InstallClock(nullptr); }

void HeadlessDisplay::TopLevelCreated(HWND window) {
  std::lock_guard lock(m_mutex);
  m_windows.push_back({window, {0, 0, 0, 0}, false, {}, nullptr});
}

void HeadlessDisplay::TopLevelChanged(HWND window, const RECT& screenRect, bool visible) {
  std::lock_guard lock(m_mutex);
  for (auto& entry : m_windows) {
    if (entry.window == window) {
      entry.rect = screenRect;
      entry.visible = visible;
    }
  }
}

void HeadlessDisplay::TopLevelTitleChanged(HWND window, const std::string& title) {
  std::lock_guard lock(m_mutex);
  for (auto& entry : m_windows) {
    if (entry.window == window) entry.title = title;
  }
}

void HeadlessDisplay::TopLevelDestroyed(HWND window) {
  std::lock_guard lock(m_mutex);
  std::erase_if(m_windows, [window](const TopLevel& entry) { return entry.window == window; });
}

void HeadlessDisplay::TopLevelIconChanged(HWND window, HICON icon) {
  std::lock_guard lock(m_mutex);
  for (auto& entry : m_windows) {
    if (entry.window == window) entry.icon = icon;
  }
}

void HeadlessDisplay::CursorChanged(HCURSOR cursor) {
  std::lock_guard lock(m_mutex);
  m_cursor = cursor;
  ++m_cursorChanges;
}

HCURSOR HeadlessDisplay::ShownCursor() const {
  std::lock_guard lock(m_mutex);
  return m_cursor;
}

int HeadlessDisplay::CursorChanges() const {
  std::lock_guard lock(m_mutex);
  return m_cursorChanges;
}

std::vector<HeadlessDisplay::TopLevel> HeadlessDisplay::TopLevels() const {
  std::lock_guard lock(m_mutex);
  return m_windows;
}

bool HeadlessDisplay::Idle(std::optional<uint64_t> nextTimerDue) {
  std::string step;
  {
    std::lock_guard lock(m_mutex);
    if (!m_script.empty()) {
      step = m_script.front();
      m_script.pop_front();
    }
  }
  if (!step.empty()) {
    RunScriptStep(step, nullptr, true);
    return true;
  }
  // Time does not jump while another program is still working on something for this one: its
  // answer is due before any time-out that waits for it.
  bool othersWorking = ExternalWork::Instance().Pending();
  if (nextTimerDue && !m_clock.Manual() && !othersWorking) {
    m_clock.AdvanceTo(*nextTimerDue);
    return true;
  }
  if (m_scriptGiven && !nextTimerDue && !othersWorking) {
    // An unattended run whose script is used up would otherwise wait for input forever.
    std::fprintf(stderr, "headless display: input script finished and the program waits for input\n");
    std::fflush(nullptr);
    std::_Exit(3);
  }
  return false;
}

void HeadlessDisplay::MoveMouse(POINT screenPoint) {
  if (Sink() != nullptr) Sink()->MouseMoved(screenPoint);
}

void HeadlessDisplay::MouseDown(POINT screenPoint, int button) {
  if (Sink() != nullptr) Sink()->MouseButton(button, true, screenPoint);
}

void HeadlessDisplay::MouseUp(POINT screenPoint, int button) {
  if (Sink() != nullptr) Sink()->MouseButton(button, false, screenPoint);
}

void HeadlessDisplay::Click(POINT screenPoint, int button) {
  MoveMouse(screenPoint);
  MouseDown(screenPoint, button);
  MouseUp(screenPoint, button);
}

void HeadlessDisplay::DoubleClick(POINT screenPoint, int button) {
  Click(screenPoint, button);
  Click(screenPoint, button);
}

void HeadlessDisplay::Wheel(POINT screenPoint, int delta) {
  MoveMouse(screenPoint);
  if (Sink() != nullptr) Sink()->MouseWheel(delta, screenPoint);
}

void HeadlessDisplay::SidewaysWheel(POINT screenPoint, int delta) {
  MoveMouse(screenPoint);
  if (Sink() != nullptr) Sink()->MouseSidewaysWheel(delta, screenPoint);
}

void HeadlessDisplay::KeyDown(BYTE virtualKey) {
  if (Sink() != nullptr) Sink()->Key(virtualKey, true, false);
}

void HeadlessDisplay::KeyUp(BYTE virtualKey) {
  if (Sink() != nullptr) Sink()->Key(virtualKey, false, false);
}

void HeadlessDisplay::PressKey(BYTE virtualKey, unsigned modifiers) {
  if (modifiers & kControl) KeyDown(VK_CONTROL);
  if (modifiers & kAlt) KeyDown(VK_MENU);
  if (modifiers & kShift) KeyDown(VK_SHIFT);
  KeyDown(virtualKey);
  KeyUp(virtualKey);
  if (modifiers & kShift) KeyUp(VK_SHIFT);
  if (modifiers & kAlt) KeyUp(VK_MENU);
  if (modifiers & kControl) KeyUp(VK_CONTROL);
}

void HeadlessDisplay::TypeText(const std::string& text) {
  for (char character : text) {
    SHORT scan = KeyForCharacter(character);
    if (scan == -1) {
      if (Sink() != nullptr) Sink()->Character(character);
      continue;
    }
    unsigned modifiers = ((scan & 0x100) ? unsigned{kShift} : 0u) | ((scan & 0x200) ? unsigned{kControl} : 0u);
    PressKey(static_cast<BYTE>(scan & 0xFF), modifiers);
  }
}

void HeadlessDisplay::DropFiles(POINT screenPoint, const std::vector<std::string>& paths) {
  if (Sink() != nullptr) Sink()->FilesDropped(screenPoint, paths);
}

bool HeadlessDisplay::WriteScreenPicture(const std::string& path) {
  return Sink() != nullptr && Sink()->WriteScreenPicture(path);
}

void HeadlessDisplay::SwitchAway() {
  if (Sink() != nullptr) Sink()->ApplicationActivated(false);
}

void HeadlessDisplay::SwitchBack() {
  if (Sink() != nullptr) Sink()->ApplicationActivated(true);
}

bool HeadlessDisplay::QueueScript(const std::string& steps, std::string* error) {
  std::vector<std::string> parsed;
  std::stringstream in(steps);
  for (std::string step; std::getline(in, step, ';');) {
    step = Trim(step);
    if (step.empty() || step[0] == '#') continue;
    if (!RunScriptStep(step, error, false)) return false;
    parsed.push_back(step);
  }
  std::lock_guard lock(m_mutex);
  m_script.insert(m_script.end(), parsed.begin(), parsed.end());
  return true;
}

void HeadlessDisplay::DiscardScriptStep() {
  std::lock_guard lock(m_mutex);
  if (!m_script.empty()) m_script.pop_front();
}

bool HeadlessDisplay::ScriptPending() const {
  std::lock_guard lock(m_mutex);
  return !m_script.empty();
}

// One step of the input script. With execute false the step is only checked. Steps:
//   key NAME [shift] [ctrl] [alt]   text WORDS...   move X Y   click X Y [right|middle]
//   dblclick X Y   down X Y   up X Y   wait MILLISECONDS   drop X Y PATH...   away   back
//   wheel X Y NOTCHES   hwheel X Y NOTCHES   snapshot PATH
bool HeadlessDisplay::RunScriptStep(const std::string& step, std::string* error, bool execute) {
  auto fail = [&](const std::string& why) {
    if (error != nullptr) *error = "\"" + step + "\": " + why;
    return false;
  };
  std::vector<std::string> words = SplitWords(step);
  if (words.empty()) return fail("empty step");
  const std::string& verb = words[0];
  auto point = [&](POINT* where) {
    long x = 0;
    long y = 0;
    if (words.size() < 3 || !ParseInt(words[1], &x) || !ParseInt(words[2], &y)) return false;
    *where = {static_cast<LONG>(x), static_cast<LONG>(y)};
    return true;
  };
  if (verb == "key") {
    if (words.size() < 2) return fail("key needs a key name");
    BYTE key = KeyByName(words[1].c_str());
    if (key == 0) return fail("unknown key");
    unsigned modifiers = 0;
    for (size_t i = 2; i < words.size(); ++i) {
      if (words[i] == "shift") modifiers |= kShift;
      else if (words[i] == "ctrl") modifiers |= kControl;
      else if (words[i] == "alt") modifiers |= kAlt;
      else return fail("unknown modifier");
    }
    if (execute) PressKey(key, modifiers);
    return true;
  }
  if (verb == "text") {
    if (execute) TypeText(Trim(step.substr(4)));
    return true;
  }
  if (verb == "wait") {
    long milliseconds = 0;
    if (words.size() != 2 || !ParseInt(words[1], &milliseconds) || milliseconds < 0) return fail("wait needs a time");
    if (execute) AdvanceClock(static_cast<uint64_t>(milliseconds));
    return true;
  }
  if (verb == "snapshot") {
    const std::string path = Trim(step.substr(verb.size()));
    if (path.empty()) return fail("snapshot needs a file name");
    if (execute && !WriteScreenPicture(path)) {
      std::fprintf(stderr, "headless display: cannot write the screen to %s\n", path.c_str());
    }
    return true;
  }
  if (verb == "away" || verb == "back") {
    if (execute) verb == "away" ? SwitchAway() : SwitchBack();
    return true;
  }
  POINT where{};
  if (!point(&where)) return fail("needs X and Y");
  int button = 0;
  if (words.size() > 3 && words[3] == "right") button = 1;
  if (words.size() > 3 && words[3] == "middle") button = 2;
  if (verb == "move") {
    if (execute) MoveMouse(where);
  } else if (verb == "click") {
    if (execute) Click(where, button);
  } else if (verb == "dblclick") {
    if (execute) DoubleClick(where, button);
  } else if (verb == "down") {
    if (execute) MouseDown(where, button);
  } else if (verb == "up") {
    if (execute) MouseUp(where, button);
  } else if (verb == "wheel" || verb == "hwheel") {
    // Whole notches, and few enough that the turn fits the message's 16-bit field.
    long notches = 0;
    if (words.size() != 4 || !ParseInt(words[3], &notches) || notches == 0 || notches < -273 || notches > 273) {
      return fail(verb + " needs a number of notches from -273 to 273, not 0");
    }
    const int delta = static_cast<int>(notches) * WHEEL_DELTA;
    if (execute) verb == "wheel" ? Wheel(where, delta) : SidewaysWheel(where, delta);
  } else if (verb == "drop") {
    if (words.size() < 4) return fail("drop needs files");
    if (execute) DropFiles(where, std::vector<std::string>(words.begin() + 3, words.end()));
  } else {
    return fail("unknown step");
  }
  return true;
}

}  // namespace vel::platform
