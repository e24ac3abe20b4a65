#include "platform/bus/bus_library.h"

#include "platform/kernel/lazy_library_table.h"

namespace vel::platform::bus {
namespace {

void ResolveBus(LazyLibrary& library, BusLibrary& table) {
  library.Resolve("sd_bus_open_user", table.openUser);
  library.Resolve("sd_bus_get_unique_name", table.getUniqueName);
  library.Resolve("sd_bus_request_name", table.requestName);
  library.Resolve("sd_bus_add_object_vtable", table.addObjectVtable);
  library.Resolve("sd_bus_match_signal", table.matchSignal);
  library.Resolve("sd_bus_flush_close_unref", table.flushCloseUnref);
  library.Resolve("sd_bus_process", table.process);
  library.Resolve("sd_bus_get_fd", table.getFd);
  library.Resolve("sd_bus_get_events", table.getEvents);
  library.Resolve("sd_bus_get_timeout", table.getTimeout);
  library.Resolve("sd_bus_call_async", table.callAsync);
  library.Resolve("sd_bus_send", table.send);
  library.Resolve("sd_bus_message_new_method_call", table.messageNewMethodCall);
  library.Resolve("sd_bus_message_new_method_return", table.messageNewMethodReturn);
  library.Resolve("sd_bus_message_set_auto_start", table.messageSetAutoStart);
  library.Resolve("sd_bus_message_set_expect_reply", table.messageSetExpectReply);
  library.Resolve("sd_bus_message_append", table.messageAppend);
  library.Resolve("sd_bus_message_append_array", table.messageAppendArray);
  library.Resolve("sd_bus_message_open_container", table.messageOpenContainer);
  library.Resolve("sd_bus_message_close_container", table.messageCloseContainer);
  library.Resolve("sd_bus_message_enter_container", table.messageEnterContainer);
  library.Resolve("sd_bus_message_exit_container", table.messageExitContainer);
  library.Resolve("sd_bus_message_read", table.messageRead);
  library.Resolve("sd_bus_message_read_array", table.messageReadArray);
  library.Resolve("sd_bus_message_read_strv", table.messageReadStrv);
  library.Resolve("sd_bus_message_is_method_error", table.messageIsMethodError);
  library.Resolve("sd_bus_message_get_sender", table.messageGetSender);
  library.Resolve("sd_bus_message_ref", table.messageRef);
  library.Resolve("sd_bus_message_unref", table.messageUnref);
  library.Resolve("sd_bus_reply_method_return", table.replyMethodReturn);
  library.Resolve("sd_bus_reply_method_errorf", table.replyMethodErrorf);
  library.Resolve("sd_bus_object_vtable_format", table.objectVtableFormat);
}

LazyLibraryTable<BusLibrary>& Library() {
  static LazyLibraryTable<BusLibrary> library(
      {kBusLibraryName, ResolveBus, "bus: the session bus library", "other programs cannot be reached"});
  return library;
}

}  // namespace

bool LoadBusLibrary(const char* soname, BusLibrary& table, std::string& whyNot) {
  return LoadLibraryTable(soname, ResolveBus, table, whyNot);
}

const BusLibrary* SessionBusLibrary() { return Library().Get(); }

void WithholdSessionBusLibrary(bool withheld) { Library().Withhold(withheld); }

}  // namespace vel::platform::bus
