#pragma once
// Building the controls of a window from its chains of control records. While a chain is built
// the framework holds what its controls take from it: the window (the current control
// prototype), the container, the default message text and help keyword, the parent window,
// the origin added to positions and the running extent. Option boxes and groups build their
// own chains from inside their construction; each chain restores what it replaced.

#include <cstdint>
#include <optional>
#include <string>

#include "runtime/windows/definition_view.h"
#include "win32.h"

namespace vel::windows {
struct WindowObject;
}

namespace vel::controls {

class ControlBase;

/// What the controls of the chain being built take from it.
struct ChainContext {
  windows::WindowObject* window = nullptr;
  windows::DefinitionView view;
  ControlBase* container = nullptr;
  std::optional<std::string> defaultMessage;
  std::optional<std::string> defaultHelp;
  /// The parent of the controls' windows: the client window, or a toolbar.
  HWND parent = nullptr;
  /// Added to every position of the chain, in client pixels.
  POINT origin{0, 0};
  /// The right and bottom edges of the controls built so far.
  SIZE extent{0, 0};
  /// State bits every control of the chain starts with (a toolbar's controls: kStateToolbar).
  std::uint32_t controlState = 0;
};

/// The chain being built, or null outside window building.
ChainContext* CurrentChain();

/// Builds the controls of `window` from the chain starting at `firstRecord` (the window manager
/// calls this when a window opens): the window holds them, their parent is its client window
/// and their defaults are the window's. Answers their extent.
SIZE BuildWindowControls(windows::WindowObject& window, const windows::DefinitionView& view,
                         std::uint32_t firstRecord);

/// Builds a chain inside the one being built: each record's control takes `container` as its
/// container and the given defaults (an option box's or group's own texts) where its text block
/// has none, and is handed to the container. Nothing happens outside window building.
void BuildControlChain(ControlBase* container, std::uint32_t firstRecord,
                       const std::optional<std::string>& defaultMessage,
                       const std::optional<std::string>& defaultHelp);

/// Builds the chain starting at `firstRecord` in `context` (made current while it is built) and
/// answers the extent of its controls. The controls are entered in the context's window; no
/// container holds them. A toolbar builds its controls into its own window with this.
SIZE BuildChainIn(ChainContext context, std::uint32_t firstRecord);

/// Makes the chain context current for its lifetime (a toolbar building its controls into its
/// own window uses this with its window as the parent), restoring the previous one after.
class ChainScope {
 public:
  explicit ChainScope(ChainContext context);
  ~ChainScope();
  ChainScope(const ChainScope&) = delete;
  ChainScope& operator=(const ChainScope&) = delete;
  ChainContext& Context() { return m_context; }

 private:
  ChainContext m_context;
  ChainContext* m_previous;
};

}  // namespace vel::controls
