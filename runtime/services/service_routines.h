#pragma once
// The module routines of the runtime's services, as the program's initialiser table lists them.
// Each takes kInitialiseCall or kTerminateCall. A service that has no state yet has an empty
// routine in service_routines.cpp; the subsystem that brings the state moves the routine into
// its own folder.

namespace vel::services {

// Priority 255.
/// The trace log's lock: created at initialise, deleted at terminate.
void TraceLogLockService(int call);

// Priority 150.
/// Image support: the brush cache, filled with the system colours at initialise.
void ImageSupportService(int call);
/// The runtime's fonts.
void FontService(int call);

// Priority 28.
/// The character tables, whose built-in contents must hold before the environment file is read.
void CharacterTablesService(int call);

// Priority 16: value runtime.
void StringStackService(int call);
void DecimalStackService(int call);
void PictureService(int call);
void NameBindingService(int call);
/// The value runtime's error reporting: connected to the error state and the runtime error box
/// at initialise (see value_error_reporting.cpp).
void ValueReferenceService(int call);

// Priority 16: window manager.
/// The program instance record (the instance windows and classes are created with).
void ProgramInstanceRecordService(int call);
void WindowDefinitionBufferService(int call);
void WindowClassService(int call);
void EventQueueService(int call);
void MenuService(int call);
void KeyboardService(int call);
void GlobalTimerService(int call);
void ClientAreaLayoutService(int call);

// Priority 16: controls (the control framework's own routine is in runtime/controls).
void TooltipService(int call);
void ToolbarService(int call);
/// The drag cursors and the shared "~FILE" identifier (runtime/windows).
void DragAndDropService(int call);

// Priority 16: printing.
void PrinterTargetService(int call);
void PrintDialogService(int call);

}  // namespace vel::services
