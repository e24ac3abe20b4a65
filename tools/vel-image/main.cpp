// vel-image: `vel-image info FILE` describes a picture; `vel-image convert FILE OUT.png
// [--colors 256] [--frame N]` decodes it through the runtime's image objects, the way a control
// draws it (a GIF as its canvas stands after frame N), optionally reduces it to 256 colours, and
// writes a PNG. A picture the runtime cannot
// read gives a one-line error and exit status 2; a wrong command line gives status 1.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdi/png_codec.h"
#include "runtime/images/standard_image_kinds.h"
#include "tools/common/standard_options.h"
#include "tools/vel-image/picture_facts.h"
#include "tools/vel-image/picture_render.h"

namespace vel::tools {
namespace {

constexpr int kUsageError = 1;
constexpr int kUnreadable = 2;

constexpr ProgramHelp kHelp{
    "vel-image", "info FILE\nconvert FILE OUT.png [--colors 256] [--frame N]",
    "info     prints the picture's kind, width, height, bits per pixel and colours;\n"
    "         for a GIF also its frames, loop count and each frame's delay\n"
    "         (hundredths of a second)\n"
    "convert  draws the picture as the runtime does and writes it as a PNG;\n"
    "         --colors 256 first reduces it with the runtime's 256-colour reduction,\n"
    "         --frame N draws a GIF as it stands after frame N (0 first;\n"
    "         a still picture has frame 0 only)\n"};

int UsageError(const char* problem) {
  std::fprintf(stderr, "vel-image: %s\n%s", problem, HelpText(kHelp).c_str());
  return kUsageError;
}

std::unique_ptr<images::Image> OpenOrReport(const std::string& file) {
  std::unique_ptr<images::Image> image = images::OpenImage(images::ImageOwner{}, file);
  if (image == nullptr) {
    std::string reason = RefusalReason(file);
    std::fprintf(stderr, "vel-image: %s: %s\n", file.c_str(),
                 reason.empty() ? "not a picture the runtime can read" : reason.c_str());
  }
  return image;
}

int Info(const std::vector<std::string>& arguments) {
  if (arguments.size() != 1) return UsageError("info takes one FILE");
  std::unique_ptr<images::Image> image = OpenOrReport(arguments[0]);
  if (image == nullptr) return kUnreadable;
  std::string facts = DescribePicture(*image);
  std::fwrite(facts.data(), 1, facts.size(), stdout);
  return 0;
}

int Convert(const std::vector<std::string>& arguments) {
  std::vector<std::string> files;
  bool reduce = false;
  long frame = 0;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--colors" || argument == "--frame") {
      if (i + 1 == arguments.size()) return UsageError((argument + " needs a value").c_str());
      const std::string& value = arguments[++i];
      char* end = nullptr;
      long number = std::strtol(value.c_str(), &end, 10);
      if (value.empty() || *end != '\0') return UsageError((argument + " needs a number").c_str());
      if (argument == "--colors") {
        if (number != 256) return UsageError("--colors takes 256, the runtime's reduction");
        reduce = true;
      } else {
        frame = number;
      }
    } else if (argument.rfind("--", 0) == 0) {
      return UsageError(("unknown option " + argument).c_str());
    } else {
      files.push_back(argument);
    }
  }
  if (files.size() != 2) return UsageError("convert takes FILE and OUT.png");
  std::unique_ptr<images::Image> image = OpenOrReport(files[0]);
  if (image == nullptr) return kUnreadable;
  if (frame < 0 || !ShowFrame(*image, static_cast<std::size_t>(frame))) {
    std::size_t frames = FrameCount(*image);
    std::string which =
        frames == 1 ? "a still picture has frame 0 only" : "frames are 0 to " + std::to_string(frames - 1);
    std::fprintf(stderr, "vel-image: %s: no frame %ld (%s)\n", files[0].c_str(), frame, which.c_str());
    return kUnreadable;
  }
  std::unique_ptr<platform::Surface> picture = RenderPicture(*image);
  if (picture == nullptr) {
    std::fprintf(stderr, "vel-image: %s: the picture has no size to draw\n", files[0].c_str());
    return kUnreadable;
  }
  if (reduce) {
    picture = ReduceRendered(*picture);
    if (picture == nullptr) {
      std::fprintf(stderr, "vel-image: %s: the reduction to 256 colours failed\n", files[0].c_str());
      return kUnreadable;
    }
  }
  std::vector<std::uint8_t> png = platform::EncodePng(*picture, HasTransparency(*picture));
  FILE* out = std::fopen(files[1].c_str(), "wb");
  bool written = out != nullptr && std::fwrite(png.data(), 1, png.size(), out) == png.size();
  if (out != nullptr) written = std::fclose(out) == 0 && written;
  if (!written) {
    std::fprintf(stderr, "vel-image: %s: cannot write the PNG file\n", files[1].c_str());
    return kUsageError;
  }
  return 0;
}

int Run(int argc, char** argv) {
  // Pictures are drawn in memory: the tool never needs the desktop.
  setenv("VELMORA_DISPLAY", "headless", 1);
  if (std::optional<int> answered = AnswerStandardOption(argc, argv, kHelp)) return *answered;
  std::vector<std::string> arguments(argv + 1, argv + argc);
  if (arguments.empty()) return UsageError("no command");
  const std::string command = arguments.front();
  arguments.erase(arguments.begin());
  if (command == "info") return Info(arguments);
  if (command == "convert") return Convert(arguments);
  return UsageError(("unknown command " + command).c_str());
}

}  // namespace
}  // namespace vel::tools

int main(int argc, char** argv) { return vel::tools::Run(argc, argv); }
