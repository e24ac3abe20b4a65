#pragma once
// The picture data of a PCX file read a line at a time: run-length coded or plain, one stream
// across planes and lines, so a run may go on into the next plane or line.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vel::images {

class PcxLineDecoder {
 public:
  /// `lineBytes` is what one line holds: the bytes of one plane's line times the planes.
  PcxLineDecoder(const std::uint8_t* data, std::size_t size, bool coded, std::size_t lineBytes);

  /// The next line's `lineBytes` bytes, valid until the next call; bytes the data does not
  /// reach (it ended early, or a run's value is missing) are 0.
  const std::uint8_t* NextLine();

 private:
  std::uint8_t* DecodeFast(std::uint8_t* out, const std::uint8_t* lineEnd);
  std::uint8_t* DecodeCarefully(std::uint8_t* out, std::uint8_t* lineEnd);

  const std::uint8_t* m_at;
  const std::uint8_t* m_end;
  bool m_coded;
  std::size_t m_lineBytes;
  /// The line, and room behind it for what the last runs decoded went beyond it: those bytes
  /// start the next line.
  std::vector<std::uint8_t> m_line;
  std::size_t m_beyondLine = 0;
};

}  // namespace vel::images
