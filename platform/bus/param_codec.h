#pragma once
// Turning a message's parameters into what travels (atom names, block bytes, window
// identities) and back into handles of the receiving program. The sender's references to the
// atoms and blocks of a message pass to the receiver once it has taken the message, as the
// DDE protocol has them pass from one program to the other; so encoding and decoding each
// report what they made, for the step that completes or undoes the hand-over.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/bus/block_links.h"
#include "platform/bus/bus_wire.h"
#include "platform/bus/foreign_handles.h"
#include "platform/bus/message_shapes.h"
#include "win32.h"

namespace vel::platform::bus {

/// Who is on each side of one delivery and the tables both directions share.
struct CodecContext {
  /// This program's unique bus name.
  const std::string& self;
  /// The other program's unique bus name.
  const std::string& peer;
  ForeignHandles& windows;
  BlockLinks& links;
};

/// A message as it leaves: its wire parameters and the sender's references it gives up.
struct Encoded {
  std::vector<WireParam> params;
  /// Atoms that pass to the receiver (deleted here once the message was taken).
  std::vector<ATOM> passedAtoms;
  /// Copies of the receiver's blocks that go back to it (freed here once taken).
  std::vector<HGLOBAL> returnedBlocks;
  /// Pairs made for blocks copied to the receiver (dropped if the message is not taken).
  std::vector<std::uint64_t> newLinks;
};

/// Encodes wParam and lParam of `message` by `shape`. Nothing when the lParam does not unpack.
std::optional<Encoded> EncodeMessage(const ParamShape& shape, UINT message, WPARAM wParam, LPARAM lParam,
                                     const CodecContext& context);

/// The receiver took the message: the sender lets go of what passed to it.
void CompleteHandOver(const ParamShape& shape, UINT message, LPARAM lParam, const Encoded& encoded,
                      const CodecContext& context);
/// The message was not taken: the sender keeps everything.
void AbandonHandOver(const Encoded& encoded, const CodecContext& context);

/// A message as it arrives, made local.
struct Decoded {
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  std::vector<ATOM> addedAtoms;
  std::vector<HGLOBAL> newBlocks;
};

/// Decodes the wire parameters of `message` by `shape`. Nothing for parameters that do not fit
/// the shape.
std::optional<Decoded> DecodeMessage(const ParamShape& shape, UINT message,
                                     const std::vector<WireParam>& params, const CodecContext& context);

/// The arrived message could not be delivered: frees what decoding made.
void UndoDecode(UINT message, const ParamShape& shape, const Decoded& decoded, const CodecContext& context);

/// A lending send has been handled: the receiver's copies of the atoms go.
void ReleaseLentAtoms(const Decoded& decoded);

/// Frees a local block without telling the peer that holds its copy (the pair has ended).
void FreeUnlinked(HGLOBAL block, BlockLinks& links);

}  // namespace vel::platform::bus
