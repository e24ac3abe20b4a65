#pragma once
// The contents of DDE messages: atom names, command blocks and the data blocks of WM_DDE_DATA
// and WM_DDE_POKE (a flag word, a clipboard format, then the value). Everything read from a
// block is bounded by the block's size, whoever made it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "win32.h"

namespace vel::ipc {

/// The name of a global atom; empty for 0 or an atom that names nothing.
std::string AtomName(ATOM atom);

/// A global block holding a zero-terminated text (an execute's command).
HGLOBAL MakeTextBlock(std::string_view text);
/// The text of a block, up to its first zero byte or its end.
std::string ReadTextBlock(HGLOBAL block);

struct DataBlock {
  bool response = false;      ///< fResponse: the answer to a request
  bool release = false;       ///< fRelease: the receiver frees the block
  bool ackRequested = false;  ///< fAckReq
  std::int16_t format = CF_TEXT;
  std::string value;
};

/// A WM_DDE_DATA or WM_DDE_POKE block with a text value (CF_TEXT, zero-terminated).
HGLOBAL MakeDataBlock(const DataBlock& contents);
/// Reads such a block; nothing when it is too small to hold the flag word and format. Values of
/// formats other than text are read as bytes up to the first zero.
std::optional<DataBlock> ReadDataBlock(HGLOBAL block);

/// What a WM_DDE_DATA or WM_DDE_POKE brings: its block, its item atom and the block's contents
/// (none when the block is missing or too small).
struct ArrivedData {
  HGLOBAL block = nullptr;
  ATOM item = 0;
  std::optional<DataBlock> contents;
  bool Releases() const { return contents && contents->release; }
};
/// Unpacks such a message's lParam (and frees the packing); nothing when it does not unpack.
std::optional<ArrivedData> UnpackArrivedData(UINT message, LPARAM lParam);

/// The DDEACK word with fAck set or clear.
WORD AckStatus(bool positive);
/// Whether a DDEACK word has fAck set.
bool IsPositiveAck(WORD status);

}  // namespace vel::ipc
