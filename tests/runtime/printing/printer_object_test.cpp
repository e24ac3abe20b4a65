#include <cstring>

#include "runtime/printing/printer_properties.h"
#include "runtime/values/string_stack.h"
#include "tests/runtime/printing/printing_test_support.h"
#include "tests/support/print_server.h"

// The printer object: the default printer with no printing system and with a private one,
// choosing printers by number and by name, and the two printer properties.

namespace vel::printing::testing {
namespace {

using platform::testing::NoPrintServer;
using platform::testing::PrintServer;

std::string PopText() {
  values::StringView top = values::TopView();
  std::string text(top.data != nullptr ? top.data : "", top.length);
  values::DropTop();
  return text;
}

void SetProperty(std::int32_t property, const std::string& value) {
  values::PushBytes(value.data(), static_cast<std::uint32_t>(value.size()));
  SetPrinterProperty(property);
}

class NoPrinter : public PrintingTest {
 protected:
  NoPrintServer none;
};

TEST_F(NoPrinter, TheDefaultPrinterIsNoneWithoutAnError) {
  EnsureDefaultPrinter();
  EXPECT_EQ(services::ERRORCODE(), 0);
  EXPECT_EQ(Printer().dialog.lStructSize, 0u);
  EXPECT_EQ(PrinterName(), "");
  GetPrinterProperty(kPropPrinterDevice);
  EXPECT_EQ(PopText(), "");
  GetPrinterProperty(kPropPrinterDeviceMode);
  EXPECT_EQ(PopText(), "");
  // Choosing a printer that is not there is an error.
  SetProperty(kPropPrinterDevice, "1");
  EXPECT_EQ(services::ERRORCODE(), 524);
  EXPECT_EQ(services::ClippedErrorText(), "Unexpected error opening printer device");
}

class WithPrinters : public PrintingTest {
 protected:
  void SetUp() override {
    PrintingTest::SetUp();
    if (!server.Running()) GTEST_SKIP() << server.Problem();
    ASSERT_TRUE(server.AddQueue("Office_Laser", "office_laser.ppd"));
    ASSERT_TRUE(server.AddQueue("Draft"));
    ASSERT_TRUE(server.SetDefault("Office_Laser"));
  }
  PrintServer server;
};

TEST_F(WithPrinters, TheDefaultPrinterFillsTheRecordAndTheProfileFollowsTheQueues) {
  EnsureDefaultPrinter();
  EXPECT_EQ(services::ERRORCODE(), 0);
  EXPECT_EQ(Printer().dialog.lStructSize, sizeof(PRINTDLGA));
  EXPECT_EQ(PrinterName(), "Office_Laser");
  EXPECT_EQ(PrinterDeviceMode().dmPaperSize, DMPAPER_A4);
  EXPECT_NE(Printer().informationContext, nullptr);
  char device[128] = {};
  GetProfileStringA("Windows", "device", "", device, sizeof device);
  EXPECT_STREQ(device, "Office_Laser,winspool,CUPS:");
  char draft[128] = {};
  GetProfileStringA("Devices", "Draft", "", draft, sizeof draft);
  EXPECT_STREQ(draft, "winspool,CUPS:");
}

TEST_F(WithPrinters, ChoosingByNumberAndByName) {
  SetProperty(kPropPrinterDevice, "  1");
  EXPECT_EQ(PrinterName(), "Draft");
  SetProperty(kPropPrinterDevice, "2");
  EXPECT_EQ(PrinterName(), "Office_Laser");
  SetProperty(kPropPrinterDevice, "0");
  EXPECT_EQ(PrinterName(), "Office_Laser");
  SetProperty(kPropPrinterDevice, "draft");
  EXPECT_EQ(PrinterName(), "Draft");
  GetPrinterProperty(kPropPrinterDevice);
  EXPECT_EQ(PopText(), "Draft");
  EXPECT_EQ(services::ERRORCODE(), 0);
  // A number past the list or an unknown name leaves the printer as it was.
  SetProperty(kPropPrinterDevice, "3");
  EXPECT_EQ(services::ERRORCODE(), 524);
  services::ClearError();
  SetProperty(kPropPrinterDevice, "Nowhere");
  EXPECT_EQ(services::ERRORCODE(), 524);
  EXPECT_EQ(PrinterName(), "Draft");
  // The next print dialog starts with the chosen printer.
  EXPECT_NE(Printer().dialog.hDevNames, nullptr);
}

TEST_F(WithPrinters, TheDeviceModeTravelsAsItsBytes) {
  GetPrinterProperty(kPropPrinterDeviceMode);
  std::string bytes = PopText();
  ASSERT_EQ(bytes.size(), sizeof(DEVMODEA));
  DEVMODEA mode{};
  std::memcpy(&mode, bytes.data(), sizeof mode);
  EXPECT_EQ(mode.dmOrientation, DMORIENT_PORTRAIT);
  mode.dmOrientation = DMORIENT_LANDSCAPE;
  mode.dmPaperSize = DMPAPER_LETTER;
  mode.dmFields = DM_ORIENTATION | DM_PAPERSIZE;
  SetProperty(kPropPrinterDeviceMode, std::string(reinterpret_cast<const char*>(&mode), sizeof mode));
  EXPECT_EQ(PrinterDeviceMode().dmOrientation, DMORIENT_LANDSCAPE);
  EXPECT_EQ(PrinterDeviceMode().dmPaperSize, DMPAPER_LETTER);
  // Too few bytes to be a device mode: ignored.
  SetProperty(kPropPrinterDeviceMode, "short");
  EXPECT_EQ(PrinterDeviceMode().dmOrientation, DMORIENT_LANDSCAPE);
  EXPECT_EQ(services::ERRORCODE(), 0);
}

}  // namespace
}  // namespace vel::printing::testing
