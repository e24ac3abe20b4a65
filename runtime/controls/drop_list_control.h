#pragma once
// The drop list (control type 14 with a drop-down row count): "VelDrop", a class of its own
// with CS_HREDRAW and CS_VREDRAW: a closed one-line field showing the current value, which opens
// a list below it.

#include <cstdint>

#include "runtime/controls/list_control.h"

namespace vel::controls {

class DropListControl : public ListControl {
 public:
  explicit DropListControl(const windows::Record& record);
  void Construct(const windows::Record& record) override;

  /// Rows the opened list shows.
  std::uint8_t DropRows() const { return m_dropRows; }

 private:
  std::uint8_t m_dropRows = 0;
};

}  // namespace vel::controls
