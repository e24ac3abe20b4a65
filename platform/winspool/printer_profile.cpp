#include "platform/winspool/printer_profile.h"

#include <strings.h>

#include <algorithm>
#include <string>

#include "win32.h"

namespace vel::platform {
namespace {

constexpr DWORD kSectionBuffer = 32768;

std::vector<std::string> DeviceKeys() {
  std::string buffer(kSectionBuffer, '\0');
  DWORD length = GetProfileStringA("Devices", nullptr, "", buffer.data(), kSectionBuffer);
  std::vector<std::string> keys;
  for (size_t at = 0; at < length;) {
    size_t end = buffer.find('\0', at);
    if (end == std::string::npos || end == at) break;
    keys.push_back(buffer.substr(at, end - at));
    at = end + 1;
  }
  return keys;
}

std::string ProfileValue(const char* section, const char* key) {
  char value[512] = {};
  GetProfileStringA(section, key, "", value, sizeof value);
  return value;
}

bool Listed(const std::vector<PrinterDescription>& printers, const std::string& key) {
  return std::any_of(printers.begin(), printers.end(),
                     [&](const PrinterDescription& printer) { return strcasecmp(printer.name.c_str(), key.c_str()) == 0; });
}

}  // namespace

void SyncPrinterProfile(const std::vector<PrinterDescription>& printers) {
  std::string listing = std::string(kPrinterDriver) + "," + kPrinterPort;
  for (const std::string& key : DeviceKeys()) {
    if (!Listed(printers, key)) WriteProfileStringA("Devices", key.c_str(), nullptr);
  }
  std::string defaultDevice;
  for (const PrinterDescription& printer : printers) {
    if (ProfileValue("Devices", printer.name.c_str()) != listing) {
      WriteProfileStringA("Devices", printer.name.c_str(), listing.c_str());
    }
    if (printer.isDefault) defaultDevice = printer.name + "," + listing;
  }
  std::string current = ProfileValue("Windows", "device");
  if (current == defaultDevice) return;
  WriteProfileStringA("Windows", "device", defaultDevice.empty() ? nullptr : defaultDevice.c_str());
}

}  // namespace vel::platform
