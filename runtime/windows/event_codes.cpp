#include "runtime/windows/event_codes.h"

#include <iterator>

namespace vel::windows {
namespace {

// Names in code order; the field events run contiguously from EVENT_Accepted.
const char* const kFieldEventNames[] = {
    "EVENT:Accepted",   "EVENT:NewSelection", "EVENT:ScrollUp",    "EVENT:ScrollDown",  "EVENT:PageUp",
    "EVENT:PageDown",   "EVENT:ScrollTop",    "EVENT:ScrollBottom", "EVENT:Locate",     "EVENT:MouseUp",
    "EVENT:MouseIn",    "EVENT:MouseOut",     "EVENT:MouseMove",   "EVENT:VBXevent",    "EVENT:AlertKey",
    "EVENT:PreAlert",   "EVENT:Dragging",     "EVENT:Drag",        "EVENT:Drop",        "EVENT:ScrollDrag",
    "EVENT:TabChanging", "EVENT:Expanding",   "EVENT:Contracting", "EVENT:Expanded",    "EVENT:Contracted",
    "EVENT:Rejected",   "EVENT:DroppingDown", "EVENT:DroppedDown", "EVENT:ScrollTrack", "EVENT:ColumnResize",
};

struct NamedCode {
  std::int32_t code;
  const char* name;
};

const NamedCode kOtherEventNames[] = {
    {EVENT_Selected, "EVENT:Selected"},       {EVENT_CloseWindow, "EVENT:CloseWindow"},
    {EVENT_CloseDown, "EVENT:CloseDown"},     {EVENT_OpenWindow, "EVENT:OpenWindow"},
    {EVENT_OpenFailed, "EVENT:OpenFailed"},   {EVENT_LoseFocus, "EVENT:LoseFocus"},
    {EVENT_GainFocus, "EVENT:GainFocus"},     {EVENT_Suspend, "EVENT:Suspend"},
    {EVENT_Resume, "EVENT:Resume"},           {EVENT_Notify, "EVENT:Notify"},
    {EVENT_Timer, "EVENT:Timer"},             {EVENT_DDErequest, "EVENT:DDErequest"},
    {EVENT_DDEadvise, "EVENT:DDEadvise"},     {EVENT_DDEdata, "EVENT:DDEdata"},
    {EVENT_DDEexecute, "EVENT:DDEexecute"},   {EVENT_DDEpoke, "EVENT:DDEpoke"},
    {EVENT_DDEclosed, "EVENT:DDEclosed"},     {EVENT_Move, "EVENT:Move"},
    {EVENT_Size, "EVENT:Size"},               {EVENT_Restore, "EVENT:Restore"},
    {EVENT_Maximize, "EVENT:Maximize"},       {EVENT_Iconize, "EVENT:Iconize"},
    {EVENT_Completed, "EVENT:Completed"},     {EVENT_Moved, "EVENT:Moved"},
    {EVENT_Sized, "EVENT:Sized"},             {EVENT_Restored, "EVENT:Restored"},
    {EVENT_Maximized, "EVENT:Maximized"},     {EVENT_Iconized, "EVENT:Iconized"},
    {EVENT_BuildFile, "EVENT:BuildFile"},     {EVENT_BuildKey, "EVENT:BuildKey"},
    {EVENT_BuildDone, "EVENT:BuildDone"},
};

}  // namespace

const char* EventName(std::int32_t code) {
  if (IsFieldEvent(code)) return kFieldEventNames[code - EVENT_Accepted];
  for (const NamedCode& entry : kOtherEventNames) {
    if (entry.code == code) return entry.name;
  }
  return nullptr;
}

bool IsFieldEvent(std::int32_t code) {
  return code >= EVENT_Accepted && code < EVENT_Accepted + static_cast<std::int32_t>(std::size(kFieldEventNames));
}

bool IsRefusableEvent(std::int32_t code) {
  switch (code) {
    case EVENT_Move:
    case EVENT_Size:
    case EVENT_Restore:
    case EVENT_Maximize:
    case EVENT_Iconize:
    case EVENT_PreAlert:
    case EVENT_CloseWindow:
      return true;
    default:
      return false;
  }
}

}  // namespace vel::windows
