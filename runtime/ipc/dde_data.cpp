#include "runtime/ipc/dde_data.h"

#include <cstring>

namespace vel::ipc {
namespace {

// Flag word and clipboard format come before the value in both block kinds.
constexpr SIZE_T kDataHeaderSize = 4;

std::string BoundedText(const char* bytes, SIZE_T size) {
  const void* end = std::memchr(bytes, 0, size);
  return std::string(bytes, end != nullptr ? static_cast<const char*>(end) - bytes : size);
}

}  // namespace

std::string AtomName(ATOM atom) {
  if (atom == 0) return {};
  char name[256] = {};
  UINT length = GlobalGetAtomNameA(atom, name, sizeof name);
  return std::string(name, length);
}

HGLOBAL MakeTextBlock(std::string_view text) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, text.size() + 1);
  if (block == nullptr) return nullptr;
  if (auto* bytes = static_cast<char*>(GlobalLock(block))) {
    std::memcpy(bytes, text.data(), text.size());
    GlobalUnlock(block);
  }
  return block;
}

std::string ReadTextBlock(HGLOBAL block) {
  SIZE_T size = GlobalSize(block);
  const auto* bytes = size > 0 ? static_cast<const char*>(GlobalLock(block)) : nullptr;
  if (bytes == nullptr) return {};
  std::string text = BoundedText(bytes, size);
  GlobalUnlock(block);
  return text;
}

HGLOBAL MakeDataBlock(const DataBlock& contents) {
  HGLOBAL block =
      GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, kDataHeaderSize + contents.value.size() + 1);
  if (block == nullptr) return nullptr;
  auto* bytes = static_cast<BYTE*>(GlobalLock(block));
  if (bytes == nullptr) return block;
  DDEDATA header{};
  header.fResponse = contents.response ? 1 : 0;
  header.fRelease = contents.release ? 1 : 0;
  header.fAckReq = contents.ackRequested ? 1 : 0;
  header.cfFormat = contents.format;
  std::memcpy(bytes, &header, kDataHeaderSize);
  std::memcpy(bytes + kDataHeaderSize, contents.value.data(), contents.value.size());
  GlobalUnlock(block);
  return block;
}

std::optional<DataBlock> ReadDataBlock(HGLOBAL block) {
  SIZE_T size = GlobalSize(block);
  if (size < kDataHeaderSize) return std::nullopt;
  const auto* bytes = static_cast<const BYTE*>(GlobalLock(block));
  if (bytes == nullptr) return std::nullopt;
  DDEDATA header{};
  std::memcpy(&header, bytes, kDataHeaderSize);
  DataBlock contents;
  contents.response = header.fResponse != 0;
  contents.release = header.fRelease != 0;
  contents.ackRequested = header.fAckReq != 0;
  contents.format = header.cfFormat;
  contents.value =
      BoundedText(reinterpret_cast<const char*>(bytes) + kDataHeaderSize, size - kDataHeaderSize);
  GlobalUnlock(block);
  return contents;
}

std::optional<ArrivedData> UnpackArrivedData(UINT message, LPARAM lParam) {
  UINT_PTR block = 0;
  UINT_PTR item = 0;
  if (!UnpackDDElParam(message, lParam, &block, &item)) return std::nullopt;
  FreeDDElParam(message, lParam);
  ArrivedData arrived;
  arrived.block = reinterpret_cast<HGLOBAL>(block);
  arrived.item = static_cast<ATOM>(item);
  if (arrived.block != nullptr) arrived.contents = ReadDataBlock(arrived.block);
  return arrived;
}

WORD AckStatus(bool positive) {
  DDEACK ack{};
  ack.fAck = positive ? 1 : 0;
  WORD word = 0;
  std::memcpy(&word, &ack, sizeof word);
  return word;
}

bool IsPositiveAck(WORD status) {
  DDEACK ack{};
  std::memcpy(&ack, &status, sizeof status);
  return ack.fAck != 0;
}

}  // namespace vel::ipc
