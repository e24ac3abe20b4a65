#pragma once
// What travels between programs: a window message whose parameters have been turned from this
// program's handles into contents (atom texts, block bytes, window identities) that the
// receiving program makes local again.

#include <cstdint>
#include <string>
#include <vector>

namespace vel::platform::bus {

/// One parameter, or one half of a two-part lParam.
struct WireParam {
  enum Kind : std::uint8_t {
    kNumber = 'n',    ///< `value` as it stands
    kWindow = 'w',    ///< window `value` of the program `text` (its bus name), process `extra`
    kAtom = 'a',      ///< an atom by its name `text` (empty: no atom)
    kBlock = 'b',     ///< a global block with contents `bytes`, the copy `extra` of a linked pair
    kOwnBlock = 'r',  ///< the receiver's own block `value` coming back, linked pair `extra`
  };
  Kind kind = kNumber;
  std::uint64_t value = 0;
  std::uint64_t extra = 0;
  std::string text;
  std::vector<std::uint8_t> bytes;
};

/// A message for a window of the receiving program (or all its top-level windows).
struct Delivery {
  /// Names the post for the receiver's "settled" notice; 0 for a send.
  std::uint64_t ticket = 0;
  /// The target window in the receiver's own numbering, or HWND_BROADCAST.
  std::uint64_t window = 0;
  std::uint32_t message = 0;
  bool sent = false;
  /// wParam, then lParam (one entry) or its two halves.
  std::vector<WireParam> params;
};

/// A top-level window of a program as other programs may see it.
struct TopLevelInfo {
  std::uint64_t handle = 0;
  std::string className;
  std::string title;
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  bool visible = false;
};

/// Most parameters a delivery may carry; anything longer is refused as malformed.
inline constexpr std::size_t kMaxWireParams = 3;

}  // namespace vel::platform::bus
