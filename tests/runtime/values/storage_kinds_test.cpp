#include "runtime/values/storage_kinds.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <vector>

#include "runtime/values/storage_mbf.h"

namespace vel::values {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(StorageKinds, SizeRuleCoversEveryCode) {
  EXPECT_EQ(StorageKindSize(static_cast<uint32_t>(StorageKind::UInt8)), 1u);
  EXPECT_EQ(StorageKindSize(static_cast<uint32_t>(StorageKind::Int16)), 2u);
  EXPECT_EQ(StorageKindSize(static_cast<uint32_t>(StorageKind::UInt16)), 2u);
  for (uint32_t code : {4u, 5u, 6u, 7u, 8u, 13u, 15u, 31u, 32u, 33u, 34u, 35u, 36u}) {
    EXPECT_EQ(StorageKindSize(code), 4u) << code;
  }
  EXPECT_EQ(StorageKindSize(static_cast<uint32_t>(StorageKind::Float64)), 8u);
  EXPECT_EQ(StorageKindSize(static_cast<uint32_t>(StorageKind::MbfFloat64)), 8u);
  for (uint32_t code : {0u, 10u, 11u, 12u, 18u, 19u, 20u, 22u, 37u, 255u, 0xFFFFFFFFu}) {
    EXPECT_EQ(StorageKindSize(code), 0u) << code;
  }
}

Bytes Mbf32(double value) {
  Bytes bytes(4, 0xAA);
  WriteMbfFloat32(bytes.data(), value);
  return bytes;
}

Bytes Mbf64(double value) {
  Bytes bytes(8, 0xAA);
  WriteMbfFloat64(bytes.data(), value);
  return bytes;
}

TEST(MbfFloats, KnownBytesReadAndWrite) {
  const uint8_t one32[] = {0, 0, 0, 129};
  EXPECT_EQ(ReadMbfFloat32(one32), 1.0);
  EXPECT_EQ(Mbf32(1.0), (Bytes{0, 0, 0, 129}));
  EXPECT_EQ(Mbf32(-1.0), (Bytes{0, 0, 0x80, 129}));
  EXPECT_EQ(Mbf32(10.0), (Bytes{0, 0, 0x20, 132}));  // 1.25 * 2^3
  EXPECT_EQ(Mbf32(0.5), (Bytes{0, 0, 0, 128}));
  EXPECT_EQ(Mbf64(1.0), (Bytes{0, 0, 0, 0, 0, 0, 0, 129}));
  EXPECT_EQ(Mbf64(-0.75), (Bytes{0, 0, 0, 0, 0, 0, 0xC0, 128}));
  // 0.1 is 1.6 * 2^-4: exponent 125, fraction 0.6 = binary 1001 1001 ...; the 3 lowest stored
  // bits are written as 0 and ignored on reading.
  EXPECT_EQ(Mbf64(0.1), (Bytes{0xD0, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0x4C, 0x7D}));
  const uint8_t tenthWithLowBits[] = {0xD7, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0x4C, 0x7D};
  EXPECT_EQ(ReadMbfFloat64(tenthWithLowBits), 0.1);
  EXPECT_EQ(Mbf32(0.1), (Bytes{0xCC, 0xCC, 0x4C, 0x7D}));  // truncated, not rounded
}

TEST(MbfFloats, ZeroTinyHugeAndSpecialValues) {
  EXPECT_EQ(Mbf32(0.0), Bytes(4, 0));
  EXPECT_EQ(Mbf64(-0.0), Bytes(8, 0));
  EXPECT_EQ(Mbf32(0x1p-129), Bytes(4, 0));  // below the smallest stored magnitude
  EXPECT_EQ(Mbf64(4.9e-324), Bytes(8, 0));
  EXPECT_EQ(Mbf32(0x1p-128), (Bytes{0, 0, 0, 1}));
  EXPECT_EQ(Mbf32(0x1p200)[3], 255);  // the exponent saturates
  EXPECT_EQ(Mbf64(INFINITY)[7], 255);

  const uint8_t twoHighZero[] = {0xFF, 0xFF, 0, 0};
  EXPECT_EQ(ReadMbfFloat32(twoHighZero), 0.0);
  const uint8_t exponentZeroFractionSet[] = {0, 0, 0x40, 0};
  EXPECT_EQ(ReadMbfFloat32(exponentZeroFractionSet), 1.5 * 0x1p-129);
  const uint8_t largest[] = {0xFF, 0xFF, 0x7F, 0xFF};
  EXPECT_EQ(ReadMbfFloat32(largest), (2.0 - 0x1p-23) * 0x1p126);
}

TEST(MbfFloats, FloatsRoundTripWithTruncatedFractions) {
  for (double value : {1.0, -3.25, 123456.789, 1e-30, -6.02e23, 0x1p126, 0x1.fffffffffffffp-100}) {
    Bytes bytes64 = Mbf64(value);
    EXPECT_EQ(ReadMbfFloat64(bytes64.data()), value) << value;
    Bytes bytes32 = Mbf32(value);
    const double truncated = ReadMbfFloat32(bytes32.data());
    const double expected = std::bit_cast<double>(std::bit_cast<uint64_t>(value) & ~((uint64_t{1} << 29) - 1));
    EXPECT_EQ(truncated, expected) << value;
  }
}

}  // namespace
}  // namespace vel::values
