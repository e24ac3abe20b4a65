// Feeds arbitrary bytes to what another program can send: the parameters of a message as they
// arrive over the bus, decoded for each DDE message shape, and the DDE data blocks the runtime
// reads, so the sanitizers see every size and handle a peer could make up.
//
// Input: one byte choosing the message (and bit 7: sent), then parameters, each a kind byte,
// two 8-byte values, a length byte and that many bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/bus/param_codec.h"
#include "runtime/ipc/dde_data.h"
#include "win32.h"

namespace {

std::uint64_t Take64(const uint8_t*& data, size_t& size) {
  std::uint64_t value = 0;
  size_t count = size < 8 ? size : 8;
  std::memcpy(&value, data, count);
  data += count;
  size -= count;
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vel::platform::bus;
  if (size < 1) return 0;
  UINT message = WM_DDE_FIRST + data[0] % 9;
  bool sent = (data[0] & 0x80) != 0;
  ++data;
  --size;
  std::vector<WireParam> params;
  while (size > 0 && params.size() < kMaxWireParams) {
    WireParam param;
    param.kind = static_cast<WireParam::Kind>(*data++);
    --size;
    param.value = Take64(data, size);
    param.extra = Take64(data, size);
    size_t length = size > 0 ? *data : 0;
    if (size > 0) {
      ++data;
      --size;
    }
    length = length < size ? length : size;
    param.bytes.assign(data, data + length);
    param.text = std::string(data, data + length);
    data += length;
    size -= length;
    params.push_back(std::move(param));
  }
  static const std::string self = ":1.1";
  static const std::string peer = ":1.2";
  static ForeignHandles windows;
  static BlockLinks links;
  CodecContext context{self, peer, windows, links};
  std::optional<ParamShape> shape = ShapeOf(message, sent);
  if (!shape) return 0;
  std::optional<Decoded> decoded = DecodeMessage(*shape, message, params, context);
  if (!decoded) return 0;
  for (HGLOBAL block : decoded->newBlocks) {
    vel::ipc::ReadDataBlock(block);
    vel::ipc::ReadTextBlock(block);
  }
  UndoDecode(message, *shape, *decoded, context);
  return 0;
}
