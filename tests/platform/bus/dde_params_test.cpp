// Packing DDE lParams, and turning message parameters into what travels between programs and
// back, without a bus: two codec contexts stand for the two programs.

#include <gtest/gtest.h>

#include <cstring>

#include "platform/bus/param_codec.h"
#include "platform/user/foreign_windows.h"
#include "win32.h"

namespace vel::platform::bus {
namespace {

TEST(DdeParams, PackIntoABlockOnlyForTheFourMessagesThatNeedIt) {
  HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, 8);
  LPARAM packed = PackDDElParam(WM_DDE_DATA, reinterpret_cast<UINT_PTR>(data), 0xC123);
  UINT_PTR low = 0;
  UINT_PTR high = 0;
  ASSERT_TRUE(UnpackDDElParam(WM_DDE_DATA, packed, &low, &high));
  EXPECT_EQ(low, reinterpret_cast<UINT_PTR>(data));
  EXPECT_EQ(high, 0xC123u);
  // Reusing the block for the acknowledgement rewrites it in place.
  LPARAM reused = ReuseDDElParam(packed, WM_DDE_DATA, WM_DDE_ACK, 0x8000, 0xC123);
  EXPECT_EQ(reused, packed);
  EXPECT_TRUE(FreeDDElParam(WM_DDE_ACK, reused));
  EXPECT_FALSE(UnpackDDElParam(WM_DDE_ACK, reused, &low, &high)) << "freed blocks no longer unpack";

  EXPECT_EQ(PackDDElParam(WM_DDE_EXECUTE, 7, reinterpret_cast<UINT_PTR>(data)),
            reinterpret_cast<LPARAM>(data));
  ASSERT_TRUE(UnpackDDElParam(WM_DDE_EXECUTE, reinterpret_cast<LPARAM>(data), &low, &high));
  EXPECT_EQ(low, 0u);
  EXPECT_EQ(high, reinterpret_cast<UINT_PTR>(data));
  LPARAM words = PackDDElParam(WM_DDE_REQUEST, CF_TEXT, 0xC001);
  ASSERT_TRUE(UnpackDDElParam(WM_DDE_REQUEST, words, &low, &high));
  EXPECT_EQ(low, static_cast<UINT_PTR>(CF_TEXT));
  EXPECT_EQ(high, 0xC001u);
  GlobalFree(data);
}

TEST(DdeParams, ForgedPackedParametersAreRefusedNotRead) {
  UINT_PTR low = 1;
  UINT_PTR high = 1;
  EXPECT_FALSE(UnpackDDElParam(WM_DDE_ACK, 0x12345678, &low, &high));
  HGLOBAL small = GlobalAlloc(GMEM_MOVEABLE, 3);
  EXPECT_FALSE(UnpackDDElParam(WM_DDE_POKE, reinterpret_cast<LPARAM>(small), &low, &high));
  EXPECT_EQ(low, 1u);
  GlobalFree(small);
}

class ParamCodec : public ::testing::Test {
 protected:
  // Program A and program B, each with its own tables.
  std::string m_a = ":1.10";
  std::string m_b = ":1.20";
  ForeignHandles m_windowsA, m_windowsB;
  BlockLinks m_linksA, m_linksB;
  CodecContext AtoB() { return CodecContext{m_a, m_b, m_windowsA, m_linksA}; }
  CodecContext BfromA() { return CodecContext{m_b, m_a, m_windowsB, m_linksB}; }
  CodecContext BtoA() { return CodecContext{m_b, m_a, m_windowsB, m_linksB}; }
  CodecContext AfromB() { return CodecContext{m_a, m_b, m_windowsA, m_linksA}; }
};

TEST_F(ParamCodec, AnExecuteBlockGoesAcrossAsBytesAndComesBackAsTheSendersOwnBlock) {
  const ParamShape execute = *ShapeOf(WM_DDE_EXECUTE, false);
  const ParamShape ack = *ShapeOf(WM_DDE_ACK, false);
  HGLOBAL command = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, 6);
  std::memcpy(GlobalLock(command), "[run]", 6);
  GlobalUnlock(command);
  auto window = reinterpret_cast<HWND>(uintptr_t{0x20010});

  std::optional<Encoded> sent = EncodeMessage(execute, WM_DDE_EXECUTE, reinterpret_cast<WPARAM>(window),
                                              reinterpret_cast<LPARAM>(command), AtoB());
  ASSERT_TRUE(sent);
  std::optional<Decoded> arrived = DecodeMessage(execute, WM_DDE_EXECUTE, sent->params, BfromA());
  ASSERT_TRUE(arrived);
  auto copy = reinterpret_cast<HGLOBAL>(arrived->lParam);
  EXPECT_NE(copy, command);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(copy)), "[run]");
  GlobalUnlock(copy);
  HWND client = reinterpret_cast<HWND>(arrived->wParam);
  EXPECT_TRUE(IsForeignHandle(client)) << "A's window is a foreign window in B";

  // B acknowledges with its copy and A's window; A gets its own block and window back.
  LPARAM packed = PackDDElParam(WM_DDE_ACK, 0x8000, reinterpret_cast<UINT_PTR>(copy));
  std::optional<Encoded> reply =
      EncodeMessage(ack, WM_DDE_ACK, reinterpret_cast<WPARAM>(client), packed, BtoA());
  ASSERT_TRUE(reply);
  CompleteHandOver(ack, WM_DDE_ACK, packed, *reply, BtoA());
  EXPECT_EQ(GlobalFlags(copy), static_cast<UINT>(GMEM_INVALID_HANDLE)) << "B's copy goes once A has it back";
  std::optional<Decoded> back = DecodeMessage(ack, WM_DDE_ACK, reply->params, AfromB());
  ASSERT_TRUE(back);
  EXPECT_EQ(reinterpret_cast<HWND>(back->wParam), window);
  UINT_PTR status = 0;
  UINT_PTR value = 0;
  ASSERT_TRUE(UnpackDDElParam(WM_DDE_ACK, back->lParam, &status, &value));
  EXPECT_EQ(value, reinterpret_cast<UINT_PTR>(command));
  EXPECT_EQ(status, 0x8000u);
  FreeDDElParam(WM_DDE_ACK, back->lParam);
  GlobalFree(command);
}

TEST_F(ParamCodec, AtomsPassByNameAndTheSenderLetsGoOfThemOnlyWhenTaken) {
  const ParamShape request = *ShapeOf(WM_DDE_REQUEST, false);
  ATOM item = GlobalAddAtomA("CodecItem");
  LPARAM lParam = MAKELPARAM(CF_TEXT, item);
  std::optional<Encoded> sent = EncodeMessage(request, WM_DDE_REQUEST, 0, lParam, AtoB());
  ASSERT_TRUE(sent);
  ASSERT_EQ(sent->params.size(), 3u);
  EXPECT_EQ(std::string(sent->params[2].bytes.begin(), sent->params[2].bytes.end()), "CodecItem");
  AbandonHandOver(*sent, AtoB());
  EXPECT_EQ(GlobalFindAtomA("CodecItem"), item) << "not taken: the sender keeps its atom";
  std::optional<Decoded> arrived = DecodeMessage(request, WM_DDE_REQUEST, sent->params, BfromA());
  ASSERT_TRUE(arrived);
  CompleteHandOver(request, WM_DDE_REQUEST, lParam, *sent, AtoB());
  // One reference left: the receiver's (both live in one table here).
  EXPECT_EQ(GlobalDeleteAtom(HIWORD(arrived->lParam)), 0);
  EXPECT_EQ(GlobalFindAtomA("CodecItem"), 0);
}

TEST_F(ParamCodec, ParametersThatDoNotFitTheShapeAreRefused) {
  const ParamShape execute = *ShapeOf(WM_DDE_EXECUTE, false);
  WireParam number;
  number.kind = WireParam::kNumber;
  number.value = 0x7FFF1234;
  // A bare number where a block belongs could name any block of the receiver: it becomes null.
  std::optional<Decoded> decoded = DecodeMessage(execute, WM_DDE_EXECUTE, {number, number}, BfromA());
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->lParam, 0);
  WireParam atom;
  atom.kind = WireParam::kAtom;
  atom.bytes = {'x'};
  EXPECT_FALSE(DecodeMessage(execute, WM_DDE_EXECUTE, {atom, number}, BfromA())) << "an atom is no window";
  EXPECT_FALSE(DecodeMessage(execute, WM_DDE_EXECUTE, {number}, BfromA())) << "too few parameters";
  WireParam stranger;
  stranger.kind = WireParam::kOwnBlock;
  stranger.value = 0x1000;
  stranger.extra = 99;
  decoded = DecodeMessage(execute, WM_DDE_EXECUTE, {number, stranger}, BfromA());
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->lParam, 0) << "a block claimed as the receiver's own without a pair is refused";
  EXPECT_FALSE(ShapeOf(WM_SETTEXT, true)) << "messages with pointers never travel";
}

}  // namespace
}  // namespace vel::platform::bus
