#include "platform/bus/bus_library.h"

#include <atomic>
#include <cstdio>
#include <mutex>

#include "platform/kernel/lazy_library.h"

namespace vel::platform::bus {
namespace {

std::atomic<bool> g_withheld{false};

}  // namespace

bool LoadBusLibrary(const char* soname, BusLibrary& table, std::string& whyNot) {
  BusLibrary found;
  LazyLibrary library(soname);
  library.Resolve("sd_bus_open_user", found.openUser);
  library.Resolve("sd_bus_get_unique_name", found.getUniqueName);
  library.Resolve("sd_bus_request_name", found.requestName);
  library.Resolve("sd_bus_add_object_vtable", found.addObjectVtable);
  library.Resolve("sd_bus_match_signal", found.matchSignal);
  library.Resolve("sd_bus_flush_close_unref", found.flushCloseUnref);
  library.Resolve("sd_bus_process", found.process);
  library.Resolve("sd_bus_get_fd", found.getFd);
  library.Resolve("sd_bus_get_events", found.getEvents);
  library.Resolve("sd_bus_get_timeout", found.getTimeout);
  library.Resolve("sd_bus_call_async", found.callAsync);
  library.Resolve("sd_bus_send", found.send);
  library.Resolve("sd_bus_message_new_method_call", found.messageNewMethodCall);
  library.Resolve("sd_bus_message_new_method_return", found.messageNewMethodReturn);
  library.Resolve("sd_bus_message_set_auto_start", found.messageSetAutoStart);
  library.Resolve("sd_bus_message_set_expect_reply", found.messageSetExpectReply);
  library.Resolve("sd_bus_message_append", found.messageAppend);
  library.Resolve("sd_bus_message_append_array", found.messageAppendArray);
  library.Resolve("sd_bus_message_open_container", found.messageOpenContainer);
  library.Resolve("sd_bus_message_close_container", found.messageCloseContainer);
  library.Resolve("sd_bus_message_enter_container", found.messageEnterContainer);
  library.Resolve("sd_bus_message_exit_container", found.messageExitContainer);
  library.Resolve("sd_bus_message_read", found.messageRead);
  library.Resolve("sd_bus_message_read_array", found.messageReadArray);
  library.Resolve("sd_bus_message_read_strv", found.messageReadStrv);
  library.Resolve("sd_bus_message_is_method_error", found.messageIsMethodError);
  library.Resolve("sd_bus_message_get_sender", found.messageGetSender);
  library.Resolve("sd_bus_message_ref", found.messageRef);
  library.Resolve("sd_bus_message_unref", found.messageUnref);
  library.Resolve("sd_bus_reply_method_return", found.replyMethodReturn);
  library.Resolve("sd_bus_reply_method_errorf", found.replyMethodErrorf);
  library.Resolve("sd_bus_object_vtable_format", found.objectVtableFormat);
  const bool complete = library.Complete(whyNot);
  table = complete ? found : BusLibrary{};
  return complete;
}

const BusLibrary* SessionBusLibrary() {
  static std::once_flag loaded;
  static BusLibrary library;
  static bool usable = false;
  if (g_withheld.load(std::memory_order_relaxed)) return nullptr;
  std::call_once(loaded, [] {
    std::string whyNot;
    usable = LoadBusLibrary(kBusLibraryName, library, whyNot);
    if (!usable) {
      std::fprintf(stderr, "bus: the session bus library %s is not usable (%s); other programs cannot be reached\n",
                   kBusLibraryName, whyNot.c_str());
    }
  });
  return usable ? &library : nullptr;
}

void WithholdSessionBusLibrary(bool withheld) { g_withheld.store(withheld, std::memory_order_relaxed); }

}  // namespace vel::platform::bus
