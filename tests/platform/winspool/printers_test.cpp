#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/winspool/cups_library.h"
#include "tests/support/print_server.h"
#include "win32.h"

// The spooler functions against a private CUPS scheduler with two queues, and against none.

namespace vel::platform {
namespace {

using testing::NoPrintServer;
using testing::PrintServer;

std::string Profile(const char* section, const char* key) {
  char value[512] = {};
  GetProfileStringA(section, key, "", value, sizeof value);
  return value;
}

std::vector<std::string> DeviceKeys() {
  char buffer[4096] = {};
  DWORD length = GetProfileStringA("Devices", nullptr, "", buffer, sizeof buffer);
  std::vector<std::string> keys;
  for (DWORD at = 0; at < length && buffer[at] != '\0'; at += static_cast<DWORD>(std::strlen(buffer + at)) + 1) {
    keys.emplace_back(buffer + at);
  }
  return keys;
}

std::vector<std::string> EnumeratedNames(DWORD flags = PRINTER_ENUM_LOCAL) {
  DWORD needed = 0;
  DWORD returned = 0;
  EnumPrintersA(flags, nullptr, 4, nullptr, 0, &needed, &returned);
  std::vector<BYTE> buffer(needed + 1);
  EXPECT_TRUE(EnumPrintersA(flags, nullptr, 4, buffer.data(), needed, &needed, &returned));
  std::vector<std::string> names;
  auto* records = reinterpret_cast<PRINTER_INFO_4A*>(buffer.data());
  for (DWORD i = 0; i < returned; ++i) names.emplace_back(records[i].pPrinterName);
  return names;
}

TEST(NoPrinters, NothingIsListedAndNothingOpens) {
  NoPrintServer none;
  EXPECT_TRUE(EnumeratedNames().empty());
  EXPECT_TRUE(DeviceKeys().empty());
  EXPECT_EQ(Profile("Windows", "device"), "");
  char name[64] = {};
  DWORD size = sizeof name;
  EXPECT_FALSE(GetDefaultPrinterA(name, &size));
  HANDLE printer = reinterpret_cast<HANDLE>(1);
  char office[] = "Office_Laser";
  EXPECT_FALSE(OpenPrinterA(office, &printer, nullptr));
  EXPECT_EQ(printer, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME));
  EXPECT_EQ(CreateICA("winspool", "Office_Laser", "CUPS:", nullptr), nullptr);
  EXPECT_EQ(DeviceCapabilitiesA("Office_Laser", "CUPS:", DC_PAPERS, nullptr, nullptr), -1);
}

class Printers : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!server.Running()) GTEST_SKIP() << server.Problem();
    ASSERT_TRUE(server.AddQueue("Office_Laser", "office_laser.ppd"));
    ASSERT_TRUE(server.AddQueue("Draft"));
    ASSERT_TRUE(server.SetDefault("Office_Laser"));
  }
  PrintServer server;
};

TEST_F(Printers, EnumerationListsTheQueuesAndKeepsWinIniInStep) {
  // A printer win.ini knew of that the printing system does not have goes away.
  WriteProfileStringA("Devices", "Gone", "winspool,CUPS:");
  std::vector<std::string> names = EnumeratedNames();
  EXPECT_EQ(names, (std::vector<std::string>{"Draft", "Office_Laser"}));
  EXPECT_EQ(DeviceKeys(), (std::vector<std::string>{"Draft", "Office_Laser"}));
  EXPECT_EQ(Profile("Devices", "Draft"), "winspool,CUPS:");
  EXPECT_EQ(Profile("Windows", "device"), "Office_Laser,winspool,CUPS:");
  EXPECT_EQ(EnumeratedNames(PRINTER_ENUM_DEFAULT), (std::vector<std::string>{"Office_Laser"}));
  char name[64] = {};
  DWORD size = 4;
  EXPECT_FALSE(GetDefaultPrinterA(name, &size));
  EXPECT_EQ(size, 13u);
  EXPECT_TRUE(GetDefaultPrinterA(name, &size));
  EXPECT_STREQ(name, "Office_Laser");

  // A new default and a removed queue are seen at the next enumeration.
  ASSERT_TRUE(server.SetDefault("Draft"));
  ASSERT_TRUE(server.RemoveQueue("Office_Laser"));
  EXPECT_EQ(EnumeratedNames(), (std::vector<std::string>{"Draft"}));
  EXPECT_EQ(DeviceKeys(), (std::vector<std::string>{"Draft"}));
  EXPECT_EQ(Profile("Windows", "device"), "Draft,winspool,CUPS:");
}

TEST_F(Printers, DeviceModeAndCapabilitiesComeFromTheQueue) {
  HANDLE printer = nullptr;
  char office[] = "office_laser";
  ASSERT_TRUE(OpenPrinterA(office, &printer, nullptr));
  EXPECT_EQ(DocumentPropertiesA(nullptr, printer, office, nullptr, nullptr, 0), static_cast<LONG>(sizeof(DEVMODEA)));
  DEVMODEA mode{};
  ASSERT_EQ(DocumentPropertiesA(nullptr, printer, office, &mode, nullptr, DM_OUT_BUFFER), IDOK);
  EXPECT_STREQ(reinterpret_cast<const char*>(mode.dmDeviceName), "Office_Laser");
  EXPECT_EQ(mode.dmSize, sizeof(DEVMODEA));
  EXPECT_EQ(mode.dmPaperSize, DMPAPER_A4);
  EXPECT_EQ(mode.dmOrientation, DMORIENT_PORTRAIT);
  EXPECT_EQ(mode.dmCopies, 1);
  EXPECT_TRUE(mode.dmFields & DM_PAPERSIZE);

  // Settings passed in are kept where the printer can do them.
  DEVMODEA wanted = mode;
  wanted.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES;
  wanted.dmOrientation = DMORIENT_LANDSCAPE;
  wanted.dmPaperSize = DMPAPER_LEGAL;
  wanted.dmCopies = 3;
  DEVMODEA merged{};
  ASSERT_EQ(DocumentPropertiesA(nullptr, printer, office, &merged, &wanted, DM_IN_BUFFER | DM_OUT_BUFFER), IDOK);
  EXPECT_EQ(merged.dmOrientation, DMORIENT_LANDSCAPE);
  EXPECT_EQ(merged.dmPaperSize, DMPAPER_LEGAL);
  EXPECT_EQ(merged.dmCopies, 3);
  wanted.dmPaperSize = DMPAPER_TABLOID;
  ASSERT_EQ(DocumentPropertiesA(nullptr, printer, office, &merged, &wanted, DM_IN_BUFFER | DM_OUT_BUFFER), IDOK);
  EXPECT_EQ(merged.dmPaperSize, DMPAPER_A4);
  EXPECT_TRUE(ClosePrinter(printer));
  EXPECT_FALSE(ClosePrinter(printer));

  int papers = DeviceCapabilitiesA("Office_Laser", "CUPS:", DC_PAPERS, nullptr, nullptr);
  ASSERT_EQ(papers, 3);
  std::vector<WORD> codes(static_cast<size_t>(papers));
  DeviceCapabilitiesA("Office_Laser", "CUPS:", DC_PAPERS, reinterpret_cast<LPSTR>(codes.data()), nullptr);
  EXPECT_NE(std::find(codes.begin(), codes.end(), DMPAPER_LETTER), codes.end());
  EXPECT_NE(std::find(codes.begin(), codes.end(), DMPAPER_A4), codes.end());
  std::vector<char> names(static_cast<size_t>(papers) * 64);
  DeviceCapabilitiesA("Office_Laser", "CUPS:", DC_PAPERNAMES, names.data(), nullptr);
  std::vector<POINT> sizes(static_cast<size_t>(papers));
  DeviceCapabilitiesA("Office_Laser", "CUPS:", DC_PAPERSIZE, reinterpret_cast<LPSTR>(sizes.data()), nullptr);
  for (int i = 0; i < papers; ++i) {
    if (codes[static_cast<size_t>(i)] != DMPAPER_A4) continue;
    EXPECT_STREQ(names.data() + i * 64, "A4");
    EXPECT_NEAR(sizes[static_cast<size_t>(i)].x, 2100, 5);
    EXPECT_NEAR(sizes[static_cast<size_t>(i)].y, 2970, 5);
  }
  EXPECT_GE(DeviceCapabilitiesA("Office_Laser", "CUPS:", DC_BINS, nullptr, nullptr), 1);
  EXPECT_EQ(DeviceCapabilitiesA("Office_Laser", "CUPS:", DC_ORIENTATION, nullptr, nullptr), 90);
  EXPECT_GE(DeviceCapabilitiesA("Office_Laser", "CUPS:", DC_COPIES, nullptr, nullptr), 1);
  EXPECT_EQ(DeviceCapabilitiesA("Office_Laser", "CUPS:", 999, nullptr, nullptr), -1);

  HDC context = CreateICA("winspool", "Office_Laser", "CUPS:", &mode);
  ASSERT_NE(context, nullptr);
  EXPECT_TRUE(DeleteDC(context));
}

// A system without the printing system's library has no printers, and says so without an error,
// even where a scheduler runs; the printers come back with the library.
TEST_F(Printers, WithoutThePrintingSystemsLibraryThereAreNone) {
  WithholdPrintingSystemLibrary(true);
  DWORD needed = 1;
  DWORD returned = 1;
  SetLastError(0);
  EXPECT_TRUE(EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 4, nullptr, 0, &needed, &returned));
  EXPECT_EQ(returned, 0u);
  EXPECT_TRUE(DeviceKeys().empty());
  EXPECT_EQ(Profile("Windows", "device"), "");
  char name[64] = {};
  DWORD size = sizeof name;
  EXPECT_FALSE(GetDefaultPrinterA(name, &size));
  HANDLE printer = nullptr;
  char office[] = "Office_Laser";
  EXPECT_FALSE(OpenPrinterA(office, &printer, nullptr));
  EXPECT_EQ(DeviceCapabilitiesA("Office_Laser", "CUPS:", DC_PAPERS, nullptr, nullptr), -1);
  WithholdPrintingSystemLibrary(false);
  EXPECT_EQ(EnumeratedNames(), (std::vector<std::string>{"Draft", "Office_Laser"}));
}

TEST(PrintingSystemLibrary, LoadsOnlyALibraryWithEveryFunction) {
  CupsLibrary table;
  std::string whyNot;
  ASSERT_TRUE(LoadCupsLibrary(kCupsLibraryName, table, whyNot)) << whyNot;
  EXPECT_TRUE(whyNot.empty());
  EXPECT_NE(table.getDests2, nullptr);
  EXPECT_NE(table.getRange, nullptr);
  EXPECT_EQ(PrintingSystemLibrary()->getDests2, table.getDests2);

  EXPECT_FALSE(LoadCupsLibrary("libvel-no-such-printing.so.9", table, whyNot));
  EXPECT_NE(whyNot.find("libvel-no-such-printing.so.9"), std::string::npos) << whyNot;
  EXPECT_EQ(table.setServer, nullptr);
  // A library that opens but is not the printing system's is refused, naming what it lacks.
  EXPECT_FALSE(LoadCupsLibrary("libm.so.6", table, whyNot));
  EXPECT_EQ(whyNot, "it has no cupsSetServer");
  EXPECT_EQ(table.getDests2, nullptr);
}

TEST(DeviceModeLayout, MatchesTheWin64Layout) {
  EXPECT_EQ(sizeof(DEVMODEA), 156u);
  EXPECT_EQ(offsetof(DEVMODEA, dmOrientation), 44u);
  EXPECT_EQ(offsetof(DEVMODEA, dmCollate), 68u);
  EXPECT_EQ(offsetof(DEVMODEA, dmFormName), 70u);
  EXPECT_EQ(offsetof(DEVMODEA, dmPanningHeight), 152u);
}

}  // namespace
}  // namespace vel::platform
