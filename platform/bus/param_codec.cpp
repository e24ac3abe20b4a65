#include "platform/bus/param_codec.h"

#include <cstring>

namespace vel::platform::bus {
namespace {

// String atoms live in the table from here up; integer atoms ("#12") below are never stored.
constexpr std::uintptr_t kFirstStringAtom = 0xC000;
// Atoms are 16-bit numbers; block handles are addresses, far above.
constexpr std::uintptr_t kAtomLimit = 0x10000;
constexpr int kAtomNameBuffer = 256;

WireParam Number(std::uint64_t value) {
  WireParam param;
  param.kind = WireParam::kNumber;
  param.value = value;
  return param;
}

WireParam EncodeWindow(HWND window, const CodecContext& context) {
  if (window == nullptr) return Number(0);
  WireParam param;
  param.kind = WireParam::kWindow;
  if (std::optional<ForeignWindow> foreign = context.windows.Find(window)) {
    param.text = foreign->owner;
    param.value = foreign->remote;
    param.extra = foreign->processId;
  } else {
    param.text = context.self;
    param.value = reinterpret_cast<std::uintptr_t>(window);
    param.extra = static_cast<std::uint64_t>(GetCurrentProcessId());
  }
  return param;
}

WireParam EncodeAtom(std::uintptr_t value, Encoded& encoded) {
  WireParam param;
  param.kind = WireParam::kAtom;
  char name[kAtomNameBuffer] = {};
  UINT length = value != 0 ? GlobalGetAtomNameA(static_cast<ATOM>(value), name, sizeof name) : 0;
  if (length == 0) return param;  // No atom, or not a valid one: the receiver gets none.
  param.bytes.assign(name, name + length);
  if (value >= kFirstStringAtom) encoded.passedAtoms.push_back(static_cast<ATOM>(value));
  return param;
}

WireParam EncodeBlock(std::uintptr_t value, Encoded& encoded, const CodecContext& context) {
  auto block = reinterpret_cast<HGLOBAL>(value);
  if (value == 0) return Number(0);
  if (std::optional<BlockLink> link = context.links.ReceivedFrom(block, context.peer)) {
    WireParam param;
    param.kind = WireParam::kOwnBlock;
    param.value = link->peerHandle;
    param.extra = link->id;
    encoded.returnedBlocks.push_back(block);
    return param;
  }
  if (GlobalFlags(block) == GMEM_INVALID_HANDLE) return Number(0);
  WireParam param;
  param.kind = WireParam::kBlock;
  param.value = value;
  SIZE_T size = GlobalSize(block);
  if (size > 0) {
    const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(block));
    if (bytes != nullptr) {
      param.bytes.assign(bytes, bytes + size);
      GlobalUnlock(block);
    }
  }
  param.extra = context.links.LinkSent(block, context.peer);
  encoded.newLinks.push_back(param.extra);
  return param;
}

WireParam EncodeSlot(Slot slot, std::uintptr_t value, Encoded& encoded, const CodecContext& context) {
  switch (slot) {
    case Slot::kNumber: return Number(value);
    case Slot::kWindow: return EncodeWindow(reinterpret_cast<HWND>(value), context);
    case Slot::kAtom: return EncodeAtom(value, encoded);
    case Slot::kBlock: return EncodeBlock(value, encoded, context);
    case Slot::kAtomOrBlock:
      return value != 0 && value < kAtomLimit ? EncodeAtom(value, encoded)
                                              : EncodeBlock(value, encoded, context);
  }
  return Number(0);
}

// A handle slot takes only what names a handle: a bare number there could be any handle of
// this program, so it becomes null.
std::optional<std::uintptr_t> DecodeSlot(Slot slot, const WireParam& param, Decoded& decoded,
                                         const CodecContext& context) {
  switch (param.kind) {
    case WireParam::kNumber:
      if (slot == Slot::kNumber) return static_cast<std::uintptr_t>(param.value);
      return 0;
    case WireParam::kWindow: {
      if (slot != Slot::kWindow) return std::nullopt;
      if (param.text == context.self) return static_cast<std::uintptr_t>(param.value);
      HWND handle = context.windows.HandleFor(param.text, param.value, param.extra);
      return reinterpret_cast<std::uintptr_t>(handle);
    }
    case WireParam::kAtom: {
      if (slot != Slot::kAtom && slot != Slot::kAtomOrBlock) return std::nullopt;
      if (param.bytes.empty()) return 0;
      std::string name(param.bytes.begin(), param.bytes.end());
      if (name.find('\0') != std::string::npos) return 0;
      ATOM atom = GlobalAddAtomA(name.c_str());
      if (atom >= kFirstStringAtom) decoded.addedAtoms.push_back(atom);
      return atom;
    }
    case WireParam::kBlock: {
      if (slot != Slot::kBlock && slot != Slot::kAtomOrBlock) return std::nullopt;
      HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, param.bytes.size());
      if (block == nullptr) return 0;
      if (!param.bytes.empty()) {
        void* bytes = GlobalLock(block);
        if (bytes != nullptr) std::memcpy(bytes, param.bytes.data(), param.bytes.size());
        GlobalUnlock(block);
      }
      context.links.LinkReceived(block, context.peer, param.extra, param.value);
      decoded.newBlocks.push_back(block);
      return reinterpret_cast<std::uintptr_t>(block);
    }
    case WireParam::kOwnBlock: {
      if (slot != Slot::kBlock && slot != Slot::kAtomOrBlock) return std::nullopt;
      std::optional<HGLOBAL> own = context.links.TakeReturned(context.peer, param.extra, param.value);
      return own ? reinterpret_cast<std::uintptr_t>(*own) : 0;
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<Encoded> EncodeMessage(const ParamShape& shape, UINT message, WPARAM wParam, LPARAM lParam,
                                     const CodecContext& context) {
  Encoded encoded;
  encoded.params.push_back(EncodeSlot(shape.wParam, wParam, encoded, context));
  switch (shape.form) {
    case LParamForm::kWhole:
      encoded.params.push_back(EncodeSlot(shape.low, static_cast<std::uintptr_t>(lParam), encoded, context));
      break;
    case LParamForm::kWords:
      encoded.params.push_back(EncodeSlot(shape.low, LOWORD(lParam), encoded, context));
      encoded.params.push_back(EncodeSlot(shape.high, HIWORD(lParam), encoded, context));
      break;
    case LParamForm::kPacked: {
      UINT_PTR low = 0;
      UINT_PTR high = 0;
      if (!UnpackDDElParam(message, lParam, &low, &high)) {
        AbandonHandOver(encoded, context);
        return std::nullopt;
      }
      encoded.params.push_back(EncodeSlot(shape.low, low, encoded, context));
      encoded.params.push_back(EncodeSlot(shape.high, high, encoded, context));
      break;
    }
  }
  return encoded;
}

void CompleteHandOver(const ParamShape& shape, UINT message, LPARAM lParam, const Encoded& encoded,
                      const CodecContext& context) {
  if (!shape.lendsAtoms) {
    for (ATOM atom : encoded.passedAtoms) GlobalDeleteAtom(atom);
  }
  for (HGLOBAL block : encoded.returnedBlocks) FreeUnlinked(block, context.links);
  if (shape.form == LParamForm::kPacked) FreeDDElParam(message, lParam);
}

void AbandonHandOver(const Encoded& encoded, const CodecContext& context) {
  for (std::uint64_t link : encoded.newLinks) context.links.Drop(context.peer, link);
}

std::optional<Decoded> DecodeMessage(const ParamShape& shape, UINT message,
                                     const std::vector<WireParam>& params, const CodecContext& context) {
  size_t expected = shape.form == LParamForm::kWhole ? 2 : 3;
  if (params.size() != expected) return std::nullopt;
  Decoded decoded;
  std::optional<std::uintptr_t> wParam = DecodeSlot(shape.wParam, params[0], decoded, context);
  std::optional<std::uintptr_t> low =
      wParam ? DecodeSlot(shape.low, params[1], decoded, context) : std::nullopt;
  std::optional<std::uintptr_t> high = low && expected == 3
                                           ? DecodeSlot(shape.high, params[2], decoded, context)
                                           : std::optional<std::uintptr_t>(0);
  if (!wParam || !low || !high) {
    UndoDecode(message, shape, decoded, context);
    return std::nullopt;
  }
  decoded.wParam = *wParam;
  switch (shape.form) {
    case LParamForm::kWhole: decoded.lParam = static_cast<LPARAM>(*low); break;
    case LParamForm::kWords: decoded.lParam = MAKELPARAM(*low, *high); break;
    case LParamForm::kPacked: decoded.lParam = PackDDElParam(message, *low, *high); break;
  }
  return decoded;
}

void UndoDecode(UINT message, const ParamShape& shape, const Decoded& decoded, const CodecContext& context) {
  for (ATOM atom : decoded.addedAtoms) GlobalDeleteAtom(atom);
  for (HGLOBAL block : decoded.newBlocks) FreeUnlinked(block, context.links);
  if (shape.form == LParamForm::kPacked) FreeDDElParam(message, decoded.lParam);
}

void ReleaseLentAtoms(const Decoded& decoded) {
  for (ATOM atom : decoded.addedAtoms) GlobalDeleteAtom(atom);
}

void FreeUnlinked(HGLOBAL block, BlockLinks& links) {
  links.Forget(block);
  GlobalFree(block);
}

}  // namespace vel::platform::bus
