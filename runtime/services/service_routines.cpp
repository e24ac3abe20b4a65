#include "runtime/services/service_routines.h"

// These services keep no state yet: each routine is empty until its subsystem fills it.

namespace vel::services {

void FontService(int) {}
void StringStackService(int) {}
void DecimalStackService(int) {}
void PictureService(int) {}
void NameBindingService(int) {}
void ProgramInstanceRecordService(int) {}
void WindowDefinitionBufferService(int) {}
void WindowClassService(int) {}
void EventQueueService(int) {}
void MenuService(int) {}
void KeyboardService(int) {}
void GlobalTimerService(int) {}
void ClientAreaLayoutService(int) {}
void TooltipService(int) {}
void ToolbarService(int) {}
void PrinterTargetService(int) {}
void PrintDialogService(int) {}

}  // namespace vel::services
