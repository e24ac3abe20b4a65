#include "runtime/controls/control_factory.h"

#include <array>

#include "runtime/controls/control_base.h"
#include "runtime/windows/window_object.h"

namespace vel::controls {
namespace {

// The codes with a slot, in the order the slots are compared.
constexpr std::uint8_t kSlotCodes[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13,
                                       14, 15, 16, 17, 18, 21, 32, 33, 34, 35, 37, 38, 39};

std::array<ControlCreator, std::size(kSlotCodes)> g_slots{};

int SlotOf(std::uint8_t code) {
  for (std::size_t slot = 0; slot < std::size(kSlotCodes); ++slot) {
    if (kSlotCodes[slot] == code) return static_cast<int>(slot);
  }
  return -1;
}

}  // namespace

bool RegisterControlKind(std::uint8_t code, ControlCreator creator) {
  int slot = SlotOf(code);
  if (slot < 0) return false;
  g_slots[slot] = creator;
  return true;
}

ControlCreator ControlKindCreator(std::uint8_t code) {
  int slot = SlotOf(code);
  return slot < 0 ? nullptr : g_slots[slot];
}

ControlBase* CreateControl(windows::WindowObject& window, const windows::Record& record) {
  ControlCreator creator = ControlKindCreator(record.kind);
  if (creator == nullptr) return nullptr;
  std::unique_ptr<ControlBase> made = creator(record);
  if (!made) return nullptr;
  ControlBase* control = made.get();
  // Entered before its construction completes, so that the window holds it (and the field
  // table lists it) in record order even when it builds a chain of its own.
  window.controls.push_back(std::move(made));
  control->Construct(record);
  return control;
}

}  // namespace vel::controls
