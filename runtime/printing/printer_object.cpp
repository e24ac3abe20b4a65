#include "runtime/printing/printer_object.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "runtime/services/error_state.h"

namespace vel::printing {
namespace {

constexpr std::int32_t kPrinterDeviceError = 524;
// The [Devices] key list is read into a buffer of this size, as the original did; printers
// beyond it cannot be chosen by number (by name they still can).
constexpr DWORD kDeviceListSize = 1000;
constexpr DWORD kProfileValueSize = 512;

std::unique_ptr<PrinterObject>& Instance() {
  static std::unique_ptr<PrinterObject> printer;
  return printer;
}

// Listing the printers keeps the profile's lists in step with the installed printers.
void ListPrinters() {
  DWORD needed = 0;
  DWORD returned = 0;
  EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 4, nullptr, 0, &needed, &returned);
  if (needed == 0) return;
  std::vector<BYTE> buffer(needed);
  EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 4, buffer.data(), needed, &needed, &returned);
}

void FreeBlock(HGLOBAL& block) {
  if (block != nullptr) GlobalFree(block);
  block = nullptr;
}

HGLOBAL BlockOf(const void* bytes, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  void* target = block != nullptr ? GlobalLock(block) : nullptr;
  if (target == nullptr) {
    if (block != nullptr) GlobalFree(block);
    return nullptr;
  }
  std::memcpy(target, bytes, size);
  GlobalUnlock(block);
  return block;
}

HGLOBAL NamesBlock(const std::string& driver, const std::string& device, const std::string& port) {
  std::vector<char> bytes(sizeof(DEVNAMES));
  DEVNAMES names{};
  names.wDriverOffset = sizeof(DEVNAMES);
  names.wDeviceOffset = static_cast<WORD>(names.wDriverOffset + driver.size() + 1);
  names.wOutputOffset = static_cast<WORD>(names.wDeviceOffset + device.size() + 1);
  std::memcpy(bytes.data(), &names, sizeof names);
  for (const std::string* part : {&driver, &device, &port}) bytes.insert(bytes.end(), part->c_str(), part->c_str() + part->size() + 1);
  return BlockOf(bytes.data(), bytes.size());
}

std::string Profile(const char* section, const char* key) {
  char value[kProfileValueSize] = {};
  GetProfileStringA(section, key, "", value, sizeof value);
  return value;
}

std::vector<std::string> DeviceKeys() {
  char keys[kDeviceListSize] = {};
  DWORD length = GetProfileStringA("Devices", nullptr, "", keys, sizeof keys);
  std::vector<std::string> names;
  for (DWORD at = 0; at < length && keys[at] != '\0';) {
    size_t size = strnlen(keys + at, length - at);
    names.emplace_back(keys + at, size);
    at += static_cast<DWORD>(size) + 1;
  }
  return names;
}

std::vector<std::string> SplitAtCommas(const std::string& text) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t comma = text.find(',', start);
    std::string part = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    part.erase(0, part.find_first_not_of(' '));
    part.erase(part.find_last_not_of(' ') + 1);
    parts.push_back(part);
    if (comma == std::string::npos) return parts;
    start = comma + 1;
  }
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

// "name,driver,port" for the printer the text names; nothing when there is none.
std::optional<std::string> DeviceLine(const std::string& text) {
  size_t first = text.find_first_not_of(' ');
  std::string trimmed = first == std::string::npos ? "" : text.substr(first);
  bool number = !trimmed.empty() && std::all_of(trimmed.begin(), trimmed.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
  if (number) {
    unsigned long index = std::strtoul(trimmed.c_str(), nullptr, 10);
    if (index == 0) {
      std::string device = Profile("Windows", "device");
      return device.empty() ? std::nullopt : std::optional<std::string>(device);
    }
    std::vector<std::string> keys = DeviceKeys();
    if (index > keys.size()) return std::nullopt;
    const std::string& key = keys[index - 1];
    return key + "," + Profile("Devices", key.c_str());
  }
  std::string name = text.substr(0, text.find_last_not_of(' ') + 1);
  for (const std::string& key : DeviceKeys()) {
    if (EqualIgnoringCase(key, name)) return key + "," + Profile("Devices", key.c_str());
  }
  return std::nullopt;
}

void ReplaceContext(PrinterObject& printer, HDC context) {
  if (printer.informationContext != nullptr) DeleteDC(printer.informationContext);
  printer.informationContext = context;
}

}  // namespace

HGLOBAL CopyBlock(HGLOBAL block) {
  if (block == nullptr) return nullptr;
  SIZE_T size = GlobalSize(block);
  const void* bytes = GlobalLock(block);
  if (bytes == nullptr) return nullptr;
  HGLOBAL copy = BlockOf(bytes, size);
  GlobalUnlock(block);
  return copy;
}

PrinterObject& Printer() {
  std::unique_ptr<PrinterObject>& printer = Instance();
  if (!printer) {
    printer = std::make_unique<PrinterObject>();
    ListPrinters();
  }
  return *printer;
}

void ResetPrinter() {
  std::unique_ptr<PrinterObject>& printer = Instance();
  if (!printer) return;
  FreeBlock(printer->deviceMode);
  FreeBlock(printer->deviceNames);
  FreeBlock(printer->dialog.hDevMode);
  FreeBlock(printer->dialog.hDevNames);
  ReplaceContext(*printer, nullptr);
  printer.reset();
}

void EnsureDefaultPrinter() {
  PrinterObject& printer = Printer();
  if (printer.dialog.lStructSize != 0) return;
  FreeBlock(printer.dialog.hDevMode);
  FreeBlock(printer.dialog.hDevNames);
  printer.dialog = PRINTDLGA{};
  printer.dialog.lStructSize = sizeof(PRINTDLGA);
  printer.dialog.Flags = PD_RETURNDEFAULT;
  printer.dialog.nFromPage = 0xFFFF;
  printer.dialog.nToPage = 0xFFFF;
  printer.dialog.nMinPage = 0;
  printer.dialog.nMaxPage = 0xFFFE;
  if (!PrintDlgA(&printer.dialog)) {
    DWORD reason = CommDlgExtendedError();
    printer.dialog = PRINTDLGA{};
    if (reason != PDERR_NODEFAULTPRN && reason != PDERR_NODEVICES) services::SetError(kPrinterDeviceError);
    return;
  }
  FreeBlock(printer.deviceMode);
  FreeBlock(printer.deviceNames);
  printer.deviceMode = CopyBlock(printer.dialog.hDevMode);
  printer.deviceNames = CopyBlock(printer.dialog.hDevNames);
  std::string name = PrinterName();
  DEVMODEA mode = PrinterDeviceMode();
  ReplaceContext(printer, CreateICA("winspool", name.c_str(), nullptr, &mode));
}

void SetPrinterDevice(const std::string& text) {
  PrinterObject& printer = Printer();
  std::optional<std::string> line = DeviceLine(text);
  std::vector<std::string> parts = line ? SplitAtCommas(*line) : std::vector<std::string>{};
  if (parts.empty() || parts[0].empty()) {
    services::SetError(kPrinterDeviceError);
    return;
  }
  std::string name = parts[0];
  std::string driver = parts.size() > 1 ? parts[1] : "winspool";
  std::string port = parts.size() > 2 ? parts[2] : "";
  HANDLE opened = nullptr;
  if (!OpenPrinterA(name.data(), &opened, nullptr)) {
    services::SetError(kPrinterDeviceError);
    return;
  }
  DEVMODEA mode{};
  LONG got = DocumentPropertiesA(nullptr, opened, name.data(), &mode, nullptr, DM_OUT_BUFFER);
  ClosePrinter(opened);
  if (got < 0) {
    services::SetError(kPrinterDeviceError);
    return;
  }
  FreeBlock(printer.deviceMode);
  FreeBlock(printer.deviceNames);
  printer.deviceMode = BlockOf(&mode, sizeof mode);
  printer.deviceNames = NamesBlock(driver, name, port);
  // The next print dialog starts with this printer.
  FreeBlock(printer.dialog.hDevMode);
  FreeBlock(printer.dialog.hDevNames);
  if (printer.dialog.lStructSize == 0) {
    printer.dialog.lStructSize = sizeof(PRINTDLGA);
    printer.dialog.nFromPage = 0xFFFF;
    printer.dialog.nToPage = 0xFFFF;
    printer.dialog.nMaxPage = 0xFFFE;
  }
  printer.dialog.hDevMode = CopyBlock(printer.deviceMode);
  printer.dialog.hDevNames = CopyBlock(printer.deviceNames);
  ReplaceContext(printer, CreateICA(driver.c_str(), name.c_str(), port.c_str(), &mode));
}

std::string PrinterName() {
  PrinterObject& printer = Printer();
  if (printer.deviceNames == nullptr) return {};
  SIZE_T size = GlobalSize(printer.deviceNames);
  const auto* bytes = static_cast<const char*>(GlobalLock(printer.deviceNames));
  std::string name;
  if (bytes != nullptr && size >= sizeof(DEVNAMES)) {
    DEVNAMES names{};
    std::memcpy(&names, bytes, sizeof names);
    if (names.wDeviceOffset < size) name.assign(bytes + names.wDeviceOffset, strnlen(bytes + names.wDeviceOffset, size - names.wDeviceOffset));
  }
  if (bytes != nullptr) GlobalUnlock(printer.deviceNames);
  return name;
}

DEVMODEA PrinterDeviceMode() {
  PrinterObject& printer = Printer();
  DEVMODEA mode{};
  if (printer.deviceMode == nullptr) return mode;
  SIZE_T size = GlobalSize(printer.deviceMode);
  if (const void* bytes = GlobalLock(printer.deviceMode)) {
    std::memcpy(&mode, bytes, std::min<SIZE_T>(size, sizeof mode));
    GlobalUnlock(printer.deviceMode);
  }
  return mode;
}

void SetPrinterDeviceMode(const DEVMODEA& wanted) {
  PrinterObject& printer = Printer();
  std::string name = PrinterName();
  if (name.empty()) return;
  DEVMODEA input = wanted;
  input.dmSize = std::min<WORD>(input.dmSize, sizeof(DEVMODEA));
  DEVMODEA mode{};
  if (DocumentPropertiesA(nullptr, nullptr, name.data(), &mode, &input, DM_IN_BUFFER | DM_OUT_BUFFER) < 0) {
    services::SetError(kPrinterDeviceError);
    return;
  }
  FreeBlock(printer.deviceMode);
  printer.deviceMode = BlockOf(&mode, sizeof mode);
  FreeBlock(printer.dialog.hDevMode);
  printer.dialog.hDevMode = CopyBlock(printer.deviceMode);
}

}  // namespace vel::printing
