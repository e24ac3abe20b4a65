// The printers from CUPS: destinations with their options, media and sources. The server is
// asked anew at each call (a scheduler started or stopped meanwhile is seen), wherever the
// environment (CUPS_SERVER) or the user's client configuration points. Without the printing
// system's library there are no printers.

#include <strings.h>

#include <algorithm>

#include "platform/winspool/cups_library.h"
#include "platform/winspool/printer_catalog.h"

namespace vel::platform {
namespace {

// The destinations of the server, freed when it goes.
class Destinations {
 public:
  explicit Destinations(const CupsLibrary& cups) : m_cups(cups) {
    // Forget any server chosen before, so that the environment is read again.
    m_cups.setServer(nullptr);
    m_count = m_cups.getDests2(CUPS_HTTP_DEFAULT, &m_dests);
  }
  ~Destinations() { m_cups.freeDests(m_count, m_dests); }
  Destinations(const Destinations&) = delete;
  Destinations& operator=(const Destinations&) = delete;

  cups_dest_t* begin() const { return m_dests; }
  cups_dest_t* end() const { return m_dests + (m_dests != nullptr ? m_count : 0); }

 private:
  const CupsLibrary& m_cups;
  cups_dest_t* m_dests = nullptr;
  int m_count = 0;
};

std::string Option(const CupsLibrary& cups, const cups_dest_t& dest, const char* name) {
  const char* value = cups.getOption(name, dest.num_options, dest.options);
  return value != nullptr ? value : "";
}

PrinterDescription Basic(const CupsLibrary& cups, const cups_dest_t& dest) {
  auto option = [&](const char* name) { return Option(cups, dest, name); };
  PrinterDescription printer;
  printer.name = dest.name != nullptr ? dest.name : "";
  printer.isDefault = dest.is_default != 0;
  printer.info = option("printer-info");
  printer.location = option("printer-location");
  printer.landscape = option("orientation-requested") == "4" || option("landscape") == "true";
  std::string copies = option("copies");
  printer.copies = copies.empty() ? 1 : std::max(1, std::atoi(copies.c_str()));
  printer.collate = option("collate") == "true" ||
                    option("multiple-document-handling") == "separate-documents-collated-copies";
  printer.defaultPaper = option("media");
  printer.defaultSource = option("media-source");
  return printer;
}

// The first value of an attribute as text, or "" without one.
std::string FirstString(const CupsLibrary& cups, ipp_attribute_t* attribute) {
  const char* value = attribute != nullptr ? cups.getString(attribute, 0, nullptr) : nullptr;
  return value != nullptr ? value : "";
}

void AddChoices(const CupsLibrary& cups, cups_dest_t* dest, PrinterDescription& printer) {
  cups_dinfo_t* info = cups.copyDestInfo(CUPS_HTTP_DEFAULT, dest);
  if (info == nullptr) return;
  int count = cups.getDestMediaCount(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA_FLAGS_DEFAULT);
  for (int i = 0; i < count; ++i) {
    cups_size_t size{};
    if (!cups.getDestMediaByIndex(CUPS_HTTP_DEFAULT, dest, info, i, CUPS_MEDIA_FLAGS_DEFAULT, &size)) continue;
    bool seen = std::any_of(printer.papers.begin(), printer.papers.end(),
                            [&](const PaperChoice& paper) { return paper.width == size.width && paper.length == size.length; });
    if (!seen) printer.papers.push_back(PaperChoice{size.media, size.width, size.length});
  }
  // The printer's own default comes first; the client's guess (from its locale) only without it.
  if (printer.defaultPaper.empty()) {
    printer.defaultPaper = FirstString(cups, cups.findDestDefault(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA));
  }
  if (printer.defaultPaper.empty()) {
    cups_size_t size{};
    if (cups.getDestMediaDefault(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA_FLAGS_DEFAULT, &size)) printer.defaultPaper = size.media;
  }
  if (ipp_attribute_t* sources = cups.findDestSupported(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA_SOURCE)) {
    for (int i = 0; i < cups.getCount(sources); ++i) {
      if (const char* source = cups.getString(sources, i, nullptr)) printer.sources.emplace_back(source);
    }
  }
  if (printer.defaultSource.empty()) {
    printer.defaultSource = FirstString(cups, cups.findDestDefault(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA_SOURCE));
  }
  if (ipp_attribute_t* copies = cups.findDestSupported(CUPS_HTTP_DEFAULT, dest, info, CUPS_COPIES)) {
    int upper = 0;
    cups.getRange(copies, 0, &upper);
    if (upper > 0) printer.maxCopies = upper;
  }
  if (ipp_attribute_t* color = cups.findDestSupported(CUPS_HTTP_DEFAULT, dest, info, CUPS_PRINT_COLOR_MODE)) {
    for (int i = 0; i < cups.getCount(color); ++i) {
      const char* mode = cups.getString(color, i, nullptr);
      if (mode != nullptr && strcasecmp(mode, "color") == 0) printer.color = true;
    }
  }
  cups.freeDestInfo(info);
}

}  // namespace

std::vector<PrinterDescription> ListPrinters() {
  std::vector<PrinterDescription> printers;
  const CupsLibrary* cups = PrintingSystemLibrary();
  if (cups == nullptr) return printers;
  Destinations dests(*cups);
  for (cups_dest_t& dest : dests) {
    // Instances ("printer/instance") are the same printer with other options.
    if (dest.instance != nullptr || dest.name == nullptr) continue;
    printers.push_back(Basic(*cups, dest));
  }
  return printers;
}

std::optional<PrinterDescription> DescribePrinter(const std::string& name) {
  const CupsLibrary* cups = PrintingSystemLibrary();
  if (cups == nullptr) return std::nullopt;
  Destinations dests(*cups);
  for (cups_dest_t& dest : dests) {
    if (dest.instance != nullptr || dest.name == nullptr || strcasecmp(dest.name, name.c_str()) != 0) continue;
    PrinterDescription printer = Basic(*cups, dest);
    AddChoices(*cups, &dest, printer);
    return printer;
  }
  return std::nullopt;
}

std::optional<std::string> DefaultPrinterName() {
  for (const PrinterDescription& printer : ListPrinters()) {
    if (printer.isDefault) return printer.name;
  }
  return std::nullopt;
}

}  // namespace vel::platform
