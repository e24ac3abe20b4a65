#pragma once
// Writes metafiles record by record for the metafile tests and fuzz seeds.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace vel::platform::testing {

class MetafileBuilder {
 public:
  explicit MetafileBuilder(uint16_t objects = 4) : m_objects(objects) {}

  /// A record with 16-bit parameters in stored order (last argument of the call first).
  MetafileBuilder& Record(uint16_t function, std::initializer_list<int> words) {
    return Record(function, std::vector<int>(words));
  }
  MetafileBuilder& Record(uint16_t function, const std::vector<int>& words) {
    Put32(static_cast<uint32_t>(3 + words.size()));
    Put16(function);
    for (int w : words) Put16(static_cast<uint16_t>(w));
    return *this;
  }
  /// A record with raw parameter bytes (padded to a whole word).
  MetafileBuilder& RawRecord(uint16_t function, const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> padded = bytes;
    if (padded.size() % 2 != 0) padded.push_back(0);
    Put32(static_cast<uint32_t>(3 + padded.size() / 2));
    Put16(function);
    m_records.insert(m_records.end(), padded.begin(), padded.end());
    return *this;
  }
  /// The finished metafile, optionally behind a placeable header.
  std::vector<uint8_t> Build(bool placeable = false) const {
    std::vector<uint8_t> out;
    auto put16 = [&](uint16_t v) {
      out.push_back(static_cast<uint8_t>(v));
      out.push_back(static_cast<uint8_t>(v >> 8));
    };
    if (placeable) {
      put16(0xCDD7);
      put16(0x9AC6);
      for (int i = 0; i < 9; ++i) put16(0);
    }
    size_t words = 9 + m_records.size() / 2 + 3;
    put16(1);
    put16(9);
    put16(0x300);
    put16(static_cast<uint16_t>(words));
    put16(static_cast<uint16_t>(words >> 16));
    put16(m_objects);
    put16(0);
    put16(0);
    put16(0);
    out.insert(out.end(), m_records.begin(), m_records.end());
    put16(3);
    put16(0);
    put16(0);
    return out;
  }

 private:
  void Put16(uint16_t v) {
    m_records.push_back(static_cast<uint8_t>(v));
    m_records.push_back(static_cast<uint8_t>(v >> 8));
  }
  void Put32(uint32_t v) {
    Put16(static_cast<uint16_t>(v));
    Put16(static_cast<uint16_t>(v >> 16));
  }

  uint16_t m_objects;
  std::vector<uint8_t> m_records;
};

}  // namespace vel::platform::testing
