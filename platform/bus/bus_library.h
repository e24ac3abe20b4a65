#pragma once
// The session bus library, opened when the program first reaches for the bus instead of linked:
// it brings compression, cryptography and capability libraries of its own, which every start
// would otherwise load before its first window. The sd-bus header still gives the types and
// constants; the functions come from this table.

#include <systemd/sd-bus.h>

#include <string>

namespace vel::platform::bus {

/// The bus library functions the connection calls, and the one datum it refers to.
struct BusLibrary {
  decltype(&sd_bus_open_user) openUser = nullptr;
  decltype(&sd_bus_get_unique_name) getUniqueName = nullptr;
  decltype(&sd_bus_request_name) requestName = nullptr;
  decltype(&sd_bus_add_object_vtable) addObjectVtable = nullptr;
  decltype(&sd_bus_match_signal) matchSignal = nullptr;
  decltype(&sd_bus_flush_close_unref) flushCloseUnref = nullptr;
  decltype(&sd_bus_process) process = nullptr;
  decltype(&sd_bus_get_fd) getFd = nullptr;
  decltype(&sd_bus_get_events) getEvents = nullptr;
  decltype(&sd_bus_get_timeout) getTimeout = nullptr;
  decltype(&sd_bus_call_async) callAsync = nullptr;
  decltype(&sd_bus_send) send = nullptr;
  decltype(&sd_bus_message_new_method_call) messageNewMethodCall = nullptr;
  decltype(&sd_bus_message_new_method_return) messageNewMethodReturn = nullptr;
  decltype(&sd_bus_message_set_auto_start) messageSetAutoStart = nullptr;
  decltype(&sd_bus_message_set_expect_reply) messageSetExpectReply = nullptr;
  decltype(&sd_bus_message_append) messageAppend = nullptr;
  decltype(&sd_bus_message_append_array) messageAppendArray = nullptr;
  decltype(&sd_bus_message_open_container) messageOpenContainer = nullptr;
  decltype(&sd_bus_message_close_container) messageCloseContainer = nullptr;
  decltype(&sd_bus_message_enter_container) messageEnterContainer = nullptr;
  decltype(&sd_bus_message_exit_container) messageExitContainer = nullptr;
  decltype(&sd_bus_message_read) messageRead = nullptr;
  decltype(&sd_bus_message_read_array) messageReadArray = nullptr;
  decltype(&sd_bus_message_read_strv) messageReadStrv = nullptr;
  decltype(&sd_bus_message_is_method_error) messageIsMethodError = nullptr;
  decltype(&sd_bus_message_get_sender) messageGetSender = nullptr;
  decltype(&sd_bus_message_ref) messageRef = nullptr;
  decltype(&sd_bus_message_unref) messageUnref = nullptr;
  decltype(&sd_bus_reply_method_return) replyMethodReturn = nullptr;
  decltype(&sd_bus_reply_method_errorf) replyMethodErrorf = nullptr;
  /// The library's own vtable format marker, which the first entry of every object vtable must
  /// point at (the header's SD_BUS_VTABLE_START refers to it by name).
  const unsigned* objectVtableFormat = nullptr;
};

/// The library's name on the system.
inline constexpr const char* kBusLibraryName = "libsystemd.so.0";

/// Opens the shared object `soname` and resolves the whole table. On success the object stays
/// loaded for the rest of the process. On failure `table` is left empty, the object is closed
/// again and `whyNot` says what was missing.
bool LoadBusLibrary(const char* soname, BusLibrary& table, std::string& whyNot);

/// The session bus library, loaded once for the process (from any thread); null when it is not
/// installed or not usable, which means no bus, as without a session bus. The first failure is
/// reported in one line on standard error.
const BusLibrary* SessionBusLibrary();

/// Makes SessionBusLibrary answer null (true) or the loaded library again (false), so that tests
/// can connect as on a system without the library. Connections already open keep theirs.
void WithholdSessionBusLibrary(bool withheld);

}  // namespace vel::platform::bus
