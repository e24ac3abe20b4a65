#include "runtime/controls/graphic_control.h"

#include "runtime/controls/control_dispatcher.h"

namespace vel::controls {
namespace {

ControlClassDescriptor g_graphicClass{"VelGraphic", nullptr, 0};

}  // namespace

GraphicControl::GraphicControl(const windows::Record& record) : WindowedControl(record) {}

void GraphicControl::Construct(const windows::Record& record) {
  CreateControlWindow(&record, g_graphicClass, ControlWindowProcedure<g_graphicClass>, 0,
                      CreationText(record), WS_VISIBLE);
}

LRESULT GraphicControl::HandleMessage(UINT message, WPARAM, LPARAM, bool& passOn) {
  switch (message) {
    case WM_PAINT:
      passOn = false;
      return PaintBetweenBeginAndEnd([this](HDC dc) { Paint(dc); });
    case WM_ERASEBKGND: passOn = false; return 1;
    default: return 0;
  }
}

}  // namespace vel::controls
