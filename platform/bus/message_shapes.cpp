#include "platform/bus/message_shapes.h"

#include <map>
#include <mutex>
#include <utility>

namespace vel::platform::bus {
namespace {

// Messages of the runtime's private range that other runtime programs are sent.
constexpr UINT kDragQueryMessage = 0x2417;
constexpr UINT kDropMessage = 0x2418;
constexpr UINT kDragOverMessage = 0x2419;
constexpr UINT kDragTextMessage = 0x241A;

struct Shapes {
  std::optional<ParamShape> sent;
  std::optional<ParamShape> posted;
};

constexpr ParamShape Shape(Slot wParam, LParamForm form, Slot low, Slot high = Slot::kNumber,
                           bool lends = false) {
  return ParamShape{wParam, form, low, high, lends};
}

// The DDE messages as the protocol defines them: every one names its sender's window in
// wParam. Only the initiate (sent to find partners) and the acknowledgement of an initiate are
// sent; the rest are posted.
std::map<UINT, Shapes> BuiltInShapes() {
  using enum Slot;
  using enum LParamForm;
  std::map<UINT, Shapes> shapes;
  shapes[WM_NULL] = {Shape(kNumber, kWhole, kNumber), Shape(kNumber, kWhole, kNumber)};
  shapes[WM_DDE_INITIATE] = {Shape(kWindow, kWords, kAtom, kAtom, true), std::nullopt};
  shapes[WM_DDE_TERMINATE] = {std::nullopt, Shape(kWindow, kWhole, kNumber)};
  shapes[WM_DDE_ADVISE] = {std::nullopt, Shape(kWindow, kPacked, kBlock, kAtom)};
  shapes[WM_DDE_UNADVISE] = {std::nullopt, Shape(kWindow, kWords, kNumber, kAtom)};
  // Sent in answer to an initiate (application and topic atoms, which pass to the client);
  // posted in answer to everything else (a status word, then the item atom or the block of
  // the command it acknowledges).
  shapes[WM_DDE_ACK] = {Shape(kWindow, kWords, kAtom, kAtom), Shape(kWindow, kPacked, kNumber, kAtomOrBlock)};
  shapes[WM_DDE_DATA] = {std::nullopt, Shape(kWindow, kPacked, kBlock, kAtom)};
  shapes[WM_DDE_REQUEST] = {std::nullopt, Shape(kWindow, kWords, kNumber, kAtom)};
  shapes[WM_DDE_POKE] = {std::nullopt, Shape(kWindow, kPacked, kBlock, kAtom)};
  shapes[WM_DDE_EXECUTE] = {std::nullopt, Shape(kWindow, kWhole, kBlock)};
  // The runtime's drag-and-drop messages, all sent. A query offers an identifier (wParam) and
  // names the receiver's own window (lParam); text handed over at a drop travels the same way.
  // The sender deletes its atom after the send, so the receiver's copy lasts only as long as
  // the message is handled. Leaving, dropping and moving carry plain numbers (the position is
  // in screen coordinates, which both programs share).
  shapes[kDragQueryMessage] = {Shape(kAtom, kWhole, kWindow, kNumber, true), std::nullopt};
  shapes[kDropMessage] = {Shape(kNumber, kWhole, kNumber), std::nullopt};
  shapes[kDragOverMessage] = {Shape(kNumber, kWhole, kNumber), std::nullopt};
  shapes[kDragTextMessage] = {Shape(kAtom, kWhole, kWindow, kNumber, true), std::nullopt};
  return shapes;
}

std::mutex g_mutex;

std::map<UINT, Shapes>& Table() {
  static auto* table = new std::map<UINT, Shapes>(BuiltInShapes());
  return *table;
}

}  // namespace

void RegisterCrossProgramMessage(UINT message, std::optional<ParamShape> sent,
                                 std::optional<ParamShape> posted) {
  std::lock_guard lock(g_mutex);
  Table()[message] = Shapes{sent, posted};
}

std::optional<ParamShape> ShapeOf(UINT message, bool sent) {
  std::lock_guard lock(g_mutex);
  auto found = Table().find(message);
  if (found == Table().end()) return std::nullopt;
  return sent ? found->second.sent : found->second.posted;
}

}  // namespace vel::platform::bus
