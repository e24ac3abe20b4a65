#include "platform/display/sdl/x11_errors.h"

#include <X11/Xlib.h>

#include <atomic>
#include <cstdio>
#include <cstring>

namespace vel::platform {
namespace {

constexpr int kReportedErrors = 8;
std::atomic<int> g_errors{0};

int ReportAndContinue(Display* display, XErrorEvent* error) {
  const int count = ++g_errors;
  if (count <= kReportedErrors) {
    char text[128] = {};
    XGetErrorText(display, error->error_code, text, sizeof text - 1);
    std::fprintf(stderr, "desktop: X error ignored: %s (request %d, resource 0x%lx)%s\n", text,
                 static_cast<int>(error->request_code), static_cast<unsigned long>(error->resourceid),
                 count == kReportedErrors ? "; further X errors are not reported" : "");
  }
  return 0;
}

}  // namespace

void KeepRunningOnX11Errors(const char* videoDriver) {
  if (videoDriver == nullptr || std::strcmp(videoDriver, "x11") != 0) return;
  XSetErrorHandler(ReportAndContinue);
}

int X11ErrorCount() { return g_errors.load(); }

}  // namespace vel::platform
