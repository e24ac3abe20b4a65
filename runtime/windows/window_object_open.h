#pragma once
// Opening a window from its definition record: the window class, the styles, the platform
// window, the timer, the controls and the first event.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "runtime/windows/definition_record.h"
#include "runtime/windows/resource_source.h"
#include "runtime/windows/unit_conversion.h"
#include "win32.h"

namespace vel::windows {

struct WindowObject;

/// Opens `window` from the window record labelled `label` in the definition resource of
/// `qualifiedName`, binding its controls to `useAddresses` in order. Errors: 535 when the
/// object is already open, 502 when the definition is not found, 503 when the class cannot be
/// registered, 529 when the platform window cannot be created. On success the window is the
/// thread's current window and EVENT:OpenWindow is queued.
void OpenWindow(WindowObject& window, std::string_view label, std::string_view qualifiedName,
                std::span<void* const> useAddresses);

/// Where definitions are looked for; null restores the program's own resources.
void SetDefinitionSource(const ResourceSource* source);

/// Measures the window font for the unit conversion (the font step of building a window).
/// Without one installed (the default, and after installing an empty one) the window font is
/// measured on the screen by MeasureWindowFont; tests install fixed metrics here.
using WindowMetricsSource = std::function<UnitMetrics(const Record& windowRecord)>;
void SetWindowMetricsSource(WindowMetricsSource source);

/// The platform styles of a window from its attributes: the frame (none: WS_BORDER; resizable:
/// WS_THICKFRAME and WS_CAPTION; double: WS_BORDER, with DS_MODALFRAME when the window has no
/// minimise or maximise box and no menu; no border: nothing), the boxes, WS_CLIPCHILDREN, and
/// WS_CAPTION for a window with a title.
DWORD WindowStyleFor(std::uint32_t attributes, bool hasTitle, bool hasIcon, bool hasMenu);

/// "VelWin%uClass%lu" for an instance and a class number.
std::string WindowClassNameFor(HINSTANCE instance, unsigned classNumber);

/// The instance windows and classes are made with: the program's, or the process's own module
/// before a program registered.
HINSTANCE WindowInstance();

/// The runtime's modal counts: modal windows open, and the modal count of the system.
int ModalWindowCount();
/// Lowers the modal count when a modal window closes.
void ReleaseModalWindow();

}  // namespace vel::windows
