// The spooler functions over the printer catalogue: opening printers, their device modes and
// capabilities, the list of printers (which keeps win.ini's printer lists in step), the
// default printer, and information contexts for printers.

#include <strings.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <mutex>
#include <set>

#include "platform/winspool/device_mode.h"
#include "platform/winspool/printer_profile.h"
#include "win32.h"

namespace vel::platform {
namespace {

// An open printer: the name it was opened by. The handle is the record's address, checked
// against the set of open ones before use.
struct OpenPrinter {
  std::string name;
};

std::mutex g_mutex;
std::set<OpenPrinter*>& OpenPrinters() {
  static auto* printers = new std::set<OpenPrinter*>();
  return *printers;
}

std::optional<std::string> NameOfHandle(HANDLE handle) {
  std::lock_guard lock(g_mutex);
  auto* printer = static_cast<OpenPrinter*>(handle);
  if (OpenPrinters().count(printer) == 0) return std::nullopt;
  return printer->name;
}

// Copies the entries of a capability list into the caller's buffer (when given) and answers
// their number.
template <typename Write>
int Answer(size_t count, LPSTR output, size_t entrySize, Write write) {
  if (output != nullptr) {
    for (size_t i = 0; i < count; ++i) write(output + i * entrySize, i);
  }
  return static_cast<int>(count);
}

void WriteName(char* target, size_t size, const std::string& name) {
  std::memset(target, 0, size);
  std::memcpy(target, name.data(), std::min(name.size(), size - 1));
}

int Capability(const PrinterDescription& printer, WORD capability, LPSTR output) {
  size_t papers = printer.papers.size();
  size_t sources = printer.sources.size();
  switch (capability) {
    case DC_PAPERS:
      return Answer(papers, output, sizeof(WORD), [&](char* at, size_t i) {
        auto code = static_cast<WORD>(PaperCode(printer, i));
        std::memcpy(at, &code, sizeof code);
      });
    case DC_PAPERSIZE:
      // Sizes in tenths of a millimetre.
      return Answer(papers, output, sizeof(POINT), [&](char* at, size_t i) {
        POINT size{printer.papers[i].width / 10, printer.papers[i].length / 10};
        std::memcpy(at, &size, sizeof size);
      });
    case DC_PAPERNAMES:
      return Answer(papers, output, 64, [&](char* at, size_t i) { WriteName(at, 64, PaperDisplayName(printer.papers[i])); });
    case DC_BINS:
      return Answer(sources, output, sizeof(WORD), [&](char* at, size_t i) {
        auto code = static_cast<WORD>(SourceCode(printer, i));
        std::memcpy(at, &code, sizeof code);
      });
    case DC_BINNAMES:
      return Answer(sources, output, 24, [&](char* at, size_t i) { WriteName(at, 24, printer.sources[i]); });
    case DC_ORIENTATION: return 90;
    case DC_COPIES: return printer.maxCopies;
    case DC_COLLATE: return 1;
    case DC_DUPLEX: return 0;
    case DC_SIZE: return sizeof(DEVMODEA);
    case DC_EXTRA: return 0;
    case DC_VERSION: return DM_SPECVERSION;
    case DC_DRIVER: return 1;
    case DC_FIELDS: return static_cast<int>(MakeDeviceMode(printer).dmFields);
    default: return -1;
  }
}

}  // namespace
}  // namespace vel::platform

using namespace vel::platform;

BOOL WINAPI OpenPrinterA(LPSTR pPrinterName, LPHANDLE phPrinter, LPPRINTER_DEFAULTSA) {
  if (phPrinter == nullptr || pPrinterName == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *phPrinter = nullptr;
  std::optional<PrinterDescription> printer = DescribePrinter(pPrinterName);
  if (!printer) {
    SetLastError(ERROR_INVALID_PRINTER_NAME);
    return FALSE;
  }
  auto* open = new OpenPrinter{printer->name};
  {
    std::lock_guard lock(g_mutex);
    OpenPrinters().insert(open);
  }
  *phPrinter = open;
  return TRUE;
}

BOOL WINAPI ClosePrinter(HANDLE hPrinter) {
  std::lock_guard lock(g_mutex);
  auto* printer = static_cast<OpenPrinter*>(hPrinter);
  if (OpenPrinters().erase(printer) == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  delete printer;
  return TRUE;
}

LONG WINAPI DocumentPropertiesA(HWND, HANDLE hPrinter, LPSTR pDeviceName, PDEVMODEA pDevModeOutput,
                                PDEVMODEA pDevModeInput, DWORD fMode) {
  std::optional<std::string> name = hPrinter != nullptr ? NameOfHandle(hPrinter) : std::nullopt;
  if (!name && pDeviceName != nullptr) name = pDeviceName;
  if (!name) {
    SetLastError(ERROR_INVALID_HANDLE);
    return -1;
  }
  if (fMode == 0) return sizeof(DEVMODEA);
  std::optional<PrinterDescription> printer = DescribePrinter(*name);
  if (!printer) {
    SetLastError(ERROR_INVALID_PRINTER_NAME);
    return -1;
  }
  DEVMODEA mode = MakeDeviceMode(*printer);
  // An input block too small to hold the fields it marks is not read.
  if ((fMode & DM_IN_BUFFER) && pDevModeInput != nullptr && pDevModeInput->dmSize >= offsetof(DEVMODEA, dmFormName)) {
    MergeDeviceMode(*printer, *pDevModeInput, &mode);
  }
  if ((fMode & DM_OUT_BUFFER) && pDevModeOutput != nullptr) *pDevModeOutput = mode;
  return IDOK;
}

int WINAPI DeviceCapabilitiesA(LPCSTR pDevice, LPCSTR, WORD fwCapability, LPSTR pOutput, const DEVMODEA*) {
  if (pDevice == nullptr) return -1;
  std::optional<PrinterDescription> printer = DescribePrinter(pDevice);
  if (!printer) {
    SetLastError(ERROR_INVALID_PRINTER_NAME);
    return -1;
  }
  return Capability(*printer, fwCapability, pOutput);
}

BOOL WINAPI EnumPrintersA(DWORD Flags, LPSTR, DWORD Level, LPBYTE pPrinterEnum, DWORD cbBuf, LPDWORD pcbNeeded,
                          LPDWORD pcReturned) {
  if (Level != 4 || pcbNeeded == nullptr || pcReturned == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::vector<PrinterDescription> printers = ListPrinters();
  SyncPrinterProfile(printers);
  if (Flags & PRINTER_ENUM_DEFAULT) {
    printers.erase(std::remove_if(printers.begin(), printers.end(), [](const PrinterDescription& p) { return !p.isDefault; }),
                   printers.end());
  }
  // The records first, then the names they point to, in the caller's one buffer.
  size_t needed = printers.size() * sizeof(PRINTER_INFO_4A);
  for (const PrinterDescription& printer : printers) needed += printer.name.size() + 1;
  *pcbNeeded = static_cast<DWORD>(needed);
  *pcReturned = 0;
  if (pPrinterEnum == nullptr || cbBuf < needed) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return printers.empty() ? TRUE : FALSE;
  }
  auto* records = reinterpret_cast<PRINTER_INFO_4A*>(pPrinterEnum);
  char* names = reinterpret_cast<char*>(pPrinterEnum + printers.size() * sizeof(PRINTER_INFO_4A));
  for (size_t i = 0; i < printers.size(); ++i) {
    std::memcpy(names, printers[i].name.c_str(), printers[i].name.size() + 1);
    records[i] = PRINTER_INFO_4A{names, nullptr,
                                 PRINTER_ATTRIBUTE_LOCAL | (printers[i].isDefault ? DWORD{PRINTER_ATTRIBUTE_DEFAULT} : 0u)};
    names += printers[i].name.size() + 1;
  }
  *pcReturned = static_cast<DWORD>(printers.size());
  return TRUE;
}

BOOL WINAPI GetDefaultPrinterA(LPSTR pszBuffer, LPDWORD pcchBuffer) {
  if (pcchBuffer == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::optional<std::string> name = DefaultPrinterName();
  if (!name) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  auto needed = static_cast<DWORD>(name->size() + 1);
  if (pszBuffer == nullptr || *pcchBuffer < needed) {
    *pcchBuffer = needed;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::memcpy(pszBuffer, name->c_str(), needed);
  *pcchBuffer = needed;
  return TRUE;
}

HDC WINAPI CreateICA(LPCSTR pszDriver, LPCSTR pszDevice, LPCSTR, const DEVMODEA*) {
  bool display = pszDriver != nullptr && strcasecmp(pszDriver, "DISPLAY") == 0;
  if (!display && (pszDevice == nullptr || !DescribePrinter(pszDevice))) {
    SetLastError(ERROR_INVALID_PRINTER_NAME);
    return nullptr;
  }
  // Nothing is spooled from this system, so a printer's context is a memory context that
  // answers questions and takes drawing without printing it.
  return CreateCompatibleDC(nullptr);
}

HDC WINAPI CreateDCA(LPCSTR pszDriver, LPCSTR pszDevice, LPCSTR pszPort, const DEVMODEA* pdm) {
  return CreateICA(pszDriver, pszDevice, pszPort, pdm);
}
