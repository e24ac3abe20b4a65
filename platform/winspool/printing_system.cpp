// The printers from CUPS: destinations with their options, media and sources. The server is
// asked anew at each call (a scheduler started or stopped meanwhile is seen), wherever the
// environment (CUPS_SERVER) or the user's client configuration points.

#include <cups/cups.h>
#include <strings.h>

#include <algorithm>

#include "platform/winspool/printer_catalog.h"

namespace vel::platform {
namespace {

// The destinations of the server, freed when it goes.
class Destinations {
 public:
  Destinations() {
    // Forget any server chosen before, so that the environment is read again.
    cupsSetServer(nullptr);
    m_count = cupsGetDests2(CUPS_HTTP_DEFAULT, &m_dests);
  }
  ~Destinations() { cupsFreeDests(m_count, m_dests); }
  Destinations(const Destinations&) = delete;
  Destinations& operator=(const Destinations&) = delete;

  cups_dest_t* begin() const { return m_dests; }
  cups_dest_t* end() const { return m_dests + (m_dests != nullptr ? m_count : 0); }

 private:
  cups_dest_t* m_dests = nullptr;
  int m_count = 0;
};

std::string Option(const cups_dest_t& dest, const char* name) {
  const char* value = cupsGetOption(name, dest.num_options, dest.options);
  return value != nullptr ? value : "";
}

PrinterDescription Basic(const cups_dest_t& dest) {
  PrinterDescription printer;
  printer.name = dest.name != nullptr ? dest.name : "";
  printer.isDefault = dest.is_default != 0;
  printer.info = Option(dest, "printer-info");
  printer.location = Option(dest, "printer-location");
  printer.landscape = Option(dest, "orientation-requested") == "4" || Option(dest, "landscape") == "true";
  std::string copies = Option(dest, "copies");
  printer.copies = copies.empty() ? 1 : std::max(1, std::atoi(copies.c_str()));
  printer.collate = Option(dest, "collate") == "true" ||
                    Option(dest, "multiple-document-handling") == "separate-documents-collated-copies";
  printer.defaultPaper = Option(dest, "media");
  printer.defaultSource = Option(dest, "media-source");
  return printer;
}

void AddChoices(cups_dest_t* dest, PrinterDescription& printer) {
  cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest);
  if (info == nullptr) return;
  int count = cupsGetDestMediaCount(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA_FLAGS_DEFAULT);
  for (int i = 0; i < count; ++i) {
    cups_size_t size{};
    if (!cupsGetDestMediaByIndex(CUPS_HTTP_DEFAULT, dest, info, i, CUPS_MEDIA_FLAGS_DEFAULT, &size)) continue;
    bool seen = std::any_of(printer.papers.begin(), printer.papers.end(),
                            [&](const PaperChoice& paper) { return paper.width == size.width && paper.length == size.length; });
    if (!seen) printer.papers.push_back(PaperChoice{size.media, size.width, size.length});
  }
  // The printer's own default comes first; the client's guess (from its locale) only without it.
  if (printer.defaultPaper.empty()) {
    if (ipp_attribute_t* media = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA)) {
      if (const char* name = ippGetString(media, 0, nullptr)) printer.defaultPaper = name;
    }
  }
  if (printer.defaultPaper.empty()) {
    cups_size_t size{};
    if (cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA_FLAGS_DEFAULT, &size)) printer.defaultPaper = size.media;
  }
  if (ipp_attribute_t* sources = cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA_SOURCE)) {
    for (int i = 0; i < ippGetCount(sources); ++i) {
      if (const char* source = ippGetString(sources, i, nullptr)) printer.sources.emplace_back(source);
    }
  }
  if (printer.defaultSource.empty()) {
    if (ipp_attribute_t* source = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA_SOURCE)) {
      if (const char* name = ippGetString(source, 0, nullptr)) printer.defaultSource = name;
    }
  }
  if (ipp_attribute_t* copies = cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest, info, CUPS_COPIES)) {
    int upper = 0;
    ippGetRange(copies, 0, &upper);
    if (upper > 0) printer.maxCopies = upper;
  }
  if (ipp_attribute_t* color = cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest, info, CUPS_PRINT_COLOR_MODE)) {
    for (int i = 0; i < ippGetCount(color); ++i) {
      const char* mode = ippGetString(color, i, nullptr);
      if (mode != nullptr && strcasecmp(mode, "color") == 0) printer.color = true;
    }
  }
  cupsFreeDestInfo(info);
}

}  // namespace

std::vector<PrinterDescription> ListPrinters() {
  std::vector<PrinterDescription> printers;
  Destinations dests;
  for (cups_dest_t& dest : dests) {
    // Instances ("printer/instance") are the same printer with other options.
    if (dest.instance != nullptr || dest.name == nullptr) continue;
    printers.push_back(Basic(dest));
  }
  return printers;
}

std::optional<PrinterDescription> DescribePrinter(const std::string& name) {
  Destinations dests;
  for (cups_dest_t& dest : dests) {
    if (dest.instance != nullptr || dest.name == nullptr || strcasecmp(dest.name, name.c_str()) != 0) continue;
    PrinterDescription printer = Basic(dest);
    AddChoices(&dest, printer);
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
