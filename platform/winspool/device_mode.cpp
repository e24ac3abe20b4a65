#include "platform/winspool/device_mode.h"

#include <strings.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace vel::platform {
namespace {

struct StandardPaper {
  short code;
  const char* name;
  int width;  // hundredths of a millimetre
  int length;
};

constexpr StandardPaper kStandardPapers[] = {
    {DMPAPER_LETTER, "Letter", 21590, 27940},     {DMPAPER_LEGAL, "Legal", 21590, 35560},
    {DMPAPER_A4, "A4", 21000, 29700},             {DMPAPER_A3, "A3", 29700, 42000},
    {DMPAPER_A5, "A5", 14800, 21000},             {DMPAPER_B5, "B5 (JIS)", 18200, 25700},
    {DMPAPER_B4, "B4 (JIS)", 25700, 36400},       {DMPAPER_EXECUTIVE, "Executive", 18415, 26670},
    {DMPAPER_TABLOID, "Tabloid", 27940, 43180},   {DMPAPER_STATEMENT, "Statement", 13970, 21590},
    {DMPAPER_ENV_10, "Envelope #10", 10477, 24130}, {DMPAPER_ENV_DL, "Envelope DL", 11000, 22000},
    {DMPAPER_ENV_C5, "Envelope C5", 16200, 22900},
};

// Sizes within a millimetre of each other are the same paper (the printing system rounds).
const StandardPaper* StandardFor(const PaperChoice& paper) {
  for (const StandardPaper& standard : kStandardPapers) {
    if (std::abs(standard.width - paper.width) <= 100 && std::abs(standard.length - paper.length) <= 100) return &standard;
  }
  return nullptr;
}

short StandardSource(const std::string& name) {
  if (strcasecmp(name.c_str(), "auto") == 0) return DMBIN_AUTO;
  if (strcasecmp(name.c_str(), "manual") == 0) return DMBIN_MANUAL;
  if (strcasecmp(name.c_str(), "main") == 0 || strcasecmp(name.c_str(), "top") == 0) return DMBIN_UPPER;
  if (strcasecmp(name.c_str(), "bottom") == 0) return DMBIN_LOWER;
  if (strcasecmp(name.c_str(), "middle") == 0) return DMBIN_MIDDLE;
  if (strcasecmp(name.c_str(), "envelope") == 0) return DMBIN_ENVELOPE;
  return 0;
}

void CopyName(BYTE* target, size_t size, const std::string& name) {
  std::memset(target, 0, size);
  std::memcpy(target, name.data(), std::min(name.size(), size - 1));
}

void SetPaper(const PrinterDescription& printer, int index, DEVMODEA* mode) {
  if (index < 0) return;
  const PaperChoice& paper = printer.papers[static_cast<size_t>(index)];
  mode->dmPaperSize = PaperCode(printer, static_cast<size_t>(index));
  // DEVMODE sizes are in tenths of a millimetre.
  mode->dmPaperWidth = static_cast<short>(paper.width / 10);
  mode->dmPaperLength = static_cast<short>(paper.length / 10);
  CopyName(mode->dmFormName, sizeof mode->dmFormName, PaperDisplayName(paper));
}

}  // namespace

short PaperCode(const PrinterDescription& printer, size_t index) {
  if (index >= printer.papers.size()) return 0;
  if (const StandardPaper* standard = StandardFor(printer.papers[index])) return standard->code;
  return static_cast<short>(DMPAPER_USER + index);
}

short SourceCode(const PrinterDescription& printer, size_t index) {
  if (index >= printer.sources.size()) return 0;
  short code = StandardSource(printer.sources[index]);
  return code != 0 ? code : static_cast<short>(DMBIN_USER + index);
}

int PaperIndexByCode(const PrinterDescription& printer, short code) {
  for (size_t i = 0; i < printer.papers.size(); ++i) {
    if (PaperCode(printer, i) == code) return static_cast<int>(i);
  }
  return -1;
}

int PaperIndexByName(const PrinterDescription& printer, const std::string& name) {
  for (size_t i = 0; i < printer.papers.size(); ++i) {
    if (strcasecmp(printer.papers[i].name.c_str(), name.c_str()) == 0) return static_cast<int>(i);
  }
  return -1;
}

std::string PaperDisplayName(const PaperChoice& paper) {
  if (const StandardPaper* standard = StandardFor(paper)) return standard->name;
  return std::to_string(paper.width / 100) + " x " + std::to_string(paper.length / 100) + " mm";
}

DEVMODEA MakeDeviceMode(const PrinterDescription& printer) {
  DEVMODEA mode{};
  CopyName(mode.dmDeviceName, sizeof mode.dmDeviceName, printer.name);
  mode.dmSpecVersion = DM_SPECVERSION;
  mode.dmSize = sizeof(DEVMODEA);
  mode.dmFields = DM_ORIENTATION | DM_COPIES | DM_COLLATE | DM_COLOR | DM_SCALE;
  mode.dmOrientation = printer.landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
  mode.dmCopies = static_cast<short>(std::clamp(printer.copies, 1, 0x7FFF));
  mode.dmCollate = printer.collate ? DMCOLLATE_TRUE : DMCOLLATE_FALSE;
  mode.dmColor = printer.color ? DMCOLOR_COLOR : DMCOLOR_MONOCHROME;
  mode.dmScale = 100;
  if (!printer.papers.empty()) {
    mode.dmFields |= DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH | DM_FORMNAME;
    int index = PaperIndexByName(printer, printer.defaultPaper);
    SetPaper(printer, index >= 0 ? index : 0, &mode);
  }
  if (!printer.sources.empty()) {
    mode.dmFields |= DM_DEFAULTSOURCE;
    auto found = std::find(printer.sources.begin(), printer.sources.end(), printer.defaultSource);
    mode.dmDefaultSource = SourceCode(printer, found != printer.sources.end() ? static_cast<size_t>(found - printer.sources.begin()) : 0);
  }
  return mode;
}

void MergeDeviceMode(const PrinterDescription& printer, const DEVMODEA& input, DEVMODEA* mode) {
  if ((input.dmFields & DM_ORIENTATION) &&
      (input.dmOrientation == DMORIENT_PORTRAIT || input.dmOrientation == DMORIENT_LANDSCAPE)) {
    mode->dmOrientation = input.dmOrientation;
  }
  if (input.dmFields & DM_COPIES) mode->dmCopies = static_cast<short>(std::clamp<int>(input.dmCopies, 1, printer.maxCopies));
  if (input.dmFields & DM_COLLATE) mode->dmCollate = input.dmCollate ? DMCOLLATE_TRUE : DMCOLLATE_FALSE;
  if ((input.dmFields & DM_PAPERSIZE) && (mode->dmFields & DM_PAPERSIZE)) {
    SetPaper(printer, PaperIndexByCode(printer, input.dmPaperSize), mode);
  }
  if ((input.dmFields & DM_DEFAULTSOURCE) && (mode->dmFields & DM_DEFAULTSOURCE)) {
    for (size_t i = 0; i < printer.sources.size(); ++i) {
      if (SourceCode(printer, i) == input.dmDefaultSource) mode->dmDefaultSource = input.dmDefaultSource;
    }
  }
}

}  // namespace vel::platform
