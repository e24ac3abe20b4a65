#include "runtime/printing/printer_properties.h"

#include <cstddef>
#include <cstring>
#include <string>

#include "runtime/printing/printer_object.h"
#include "runtime/values/string_stack.h"

namespace vel::printing {

void GetPrinterProperty(std::int32_t property) {
  switch (property) {
    case kPropPrinterDevice: {
      EnsureDefaultPrinter();
      std::string name = PrinterName();
      values::PushBytes(name.data(), static_cast<std::uint32_t>(name.size()));
      return;
    }
    case kPropPrinterDeviceMode: {
      EnsureDefaultPrinter();
      if (PrinterName().empty()) {
        values::PushEmpty();
        return;
      }
      DEVMODEA mode = PrinterDeviceMode();
      values::PushBytes(reinterpret_cast<const char*>(&mode), sizeof mode);
      return;
    }
    default: values::PushEmpty(); return;
  }
}

void SetPrinterProperty(std::int32_t property) {
  values::StringView top = values::TopView();
  std::string value(top.data != nullptr ? top.data : "", top.length);
  values::DropTop();
  switch (property) {
    case kPropPrinterDevice: SetPrinterDevice(value); return;
    case kPropPrinterDeviceMode: {
      if (value.size() < offsetof(DEVMODEA, dmFields) + sizeof(DWORD)) return;
      EnsureDefaultPrinter();
      DEVMODEA mode{};
      std::memcpy(&mode, value.data(), std::min(value.size(), sizeof mode));
      mode.dmSize = static_cast<WORD>(std::min<size_t>(value.size(), sizeof mode));
      SetPrinterDeviceMode(mode);
      return;
    }
    default: return;
  }
}

}  // namespace vel::printing
