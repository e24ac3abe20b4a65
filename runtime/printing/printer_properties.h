#pragma once
// The printer's properties by number, for window operations that name the printer (window
// reference -1). Values travel on the string stack as window properties do.
//
// - 0x7B28, the printer device: get pushes the chosen printer's name; set pops a number or a
//   name and chooses the printer by it (printer_object.h).
// - 0x7B29, the device mode: get pushes the printer's DEVMODE block as its bytes; set pops such
//   bytes and makes the fields the printer accepts the printer's. Fewer bytes than the block's
//   header are ignored.
// Other numbers read as the empty value and ignore a set (the value is still popped).

#include <cstdint>

namespace vel::printing {

inline constexpr std::int32_t kPropPrinterDevice = 0x7B28;
inline constexpr std::int32_t kPropPrinterDeviceMode = 0x7B29;

void GetPrinterProperty(std::int32_t property);
void SetPrinterProperty(std::int32_t property);

}  // namespace vel::printing
