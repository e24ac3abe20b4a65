#include "runtime/windows/drag_state.h"

#include "runtime/windows/identifier_list.h"
#include "runtime/windows/window_object_open.h"

namespace vel::windows {
namespace {

DragState g_state;

struct DragCursor {
  HCURSOR handle = nullptr;
  /// True for the program's own resource, which the service destroys; the system's cursors
  /// are shared.
  bool owned = false;
};
DragCursor g_dropPossible;
DragCursor g_noDrop;
/// "~FILE" stays stored while the service runs, however often lists take it and let it go.
SharedText g_fileIdentifier;

DragCursor LoadDragCursor(WORD resource, LPCSTR systemCursor) {
  if (HCURSOR own = LoadCursorA(WindowInstance(), MAKEINTRESOURCEA(resource))) return {own, true};
  return {LoadCursorA(nullptr, systemCursor), false};
}

void ReleaseDragCursor(DragCursor& cursor) {
  if (cursor.owned && cursor.handle != nullptr) DestroyCursor(cursor.handle);
  cursor = DragCursor{};
}

}  // namespace

DragState& CurrentDragState() { return g_state; }

void ResetDragState() { g_state = DragState{}; }

void ForgetDragWindow(const WindowObject& window) {
  if (g_state.sourceWindow == &window || g_state.dropWindow == &window) ResetDragState();
}

void ForgetDragControl(const WindowControl& control) {
  if (g_state.sourceControl == &control || g_state.dropControl == &control) ResetDragState();
}

std::string_view MatchedIdentifier() { return g_state.matchedIdentifier.View(); }

std::string_view DroppedText() {
  return g_state.droppedText.Empty() ? g_state.matchedIdentifier.View() : g_state.droppedText.View();
}

void DRAGID() { PushIdentifierText(MatchedIdentifier()); }

void DROPID() { PushIdentifierText(DroppedText()); }

HCURSOR DropPossibleCursor() {
  if (g_dropPossible.handle == nullptr) g_dropPossible = LoadDragCursor(32513, IDC_ARROW);
  return g_dropPossible.handle;
}

HCURSOR NoDropCursor() {
  if (g_noDrop.handle == nullptr) g_noDrop = LoadDragCursor(32514, IDC_NO);
  return g_noDrop.handle;
}

void StartDragAndDrop() {
  DropPossibleCursor();
  NoDropCursor();
  g_fileIdentifier = SharedText(kFileDropIdentifier);
}

void StopDragAndDrop() {
  ResetDragState();
  ReleaseDragCursor(g_dropPossible);
  ReleaseDragCursor(g_noDrop);
  g_fileIdentifier = SharedText();
}

}  // namespace vel::windows
