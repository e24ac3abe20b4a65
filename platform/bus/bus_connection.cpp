#include "platform/bus/bus_connection.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <systemd/sd-bus.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

#include "platform/bus/bus_library.h"

namespace vel::platform::bus {
namespace {

constexpr const char* kObjectPath = "/io/velmora/Program";
constexpr const char* kInterface = "io.velmora.Program1";
constexpr const char* kRefusedError = "io.velmora.Program1.Refused";
constexpr const char* kParamSignature = "(yttsay)";

// A send waits for another program's window procedure, which may itself wait for its user; a
// peer that ends still answers at once (the bus reports it gone).
constexpr std::uint64_t kSendTimeoutMicroseconds = 120ull * 1000 * 1000;
// Everything else is answered by the peer's bus thread without waiting for anything.
constexpr std::uint64_t kQueryTimeoutMicroseconds = 10ull * 1000 * 1000;

using ReplyHandler = std::function<void(sd_bus_message* reply)>;

// A reply that is no reply: a local failure (null) or an error from the bus or the peer.
bool Failed(const BusLibrary& sd, sd_bus_message* reply) {
  return reply == nullptr || sd.messageIsMethodError(reply, nullptr) > 0;
}

int ReplyTrampoline(sd_bus_message* reply, void* userdata, sd_bus_error*) {
  auto* handler = static_cast<ReplyHandler*>(userdata);
  (*handler)(reply);
  delete handler;
  return 0;
}

int AppendParam(const BusLibrary& sd, sd_bus_message* message, const WireParam& param) {
  int r = sd.messageOpenContainer(message, 'r', "yttsay");
  if (r >= 0)
    r = sd.messageAppend(message, "ytts", static_cast<std::uint8_t>(param.kind), param.value,
                              param.extra, param.text.c_str());
  if (r >= 0) r = sd.messageAppendArray(message, 'y', param.bytes.data(), param.bytes.size());
  if (r >= 0) r = sd.messageCloseContainer(message);
  return r;
}

// Reads the parameters of a delivery; false for anything malformed or too long.
bool ReadParams(const BusLibrary& sd, sd_bus_message* message, std::vector<WireParam>& params) {
  if (sd.messageEnterContainer(message, 'a', kParamSignature) < 0) return false;
  for (;;) {
    int r = sd.messageEnterContainer(message, 'r', "yttsay");
    if (r < 0) return false;
    if (r == 0) break;
    if (params.size() >= kMaxWireParams) return false;
    WireParam param;
    std::uint8_t kind = 0;
    const char* text = nullptr;
    const void* bytes = nullptr;
    size_t size = 0;
    if (sd.messageRead(message, "ytts", &kind, &param.value, &param.extra, &text) < 0) return false;
    if (sd.messageReadArray(message, 'y', &bytes, &size) < 0) return false;
    if (sd.messageExitContainer(message) < 0) return false;
    param.kind = static_cast<WireParam::Kind>(kind);
    param.text = text != nullptr ? text : "";
    const auto* first = static_cast<const std::uint8_t*>(bytes);
    if (size > 0) param.bytes.assign(first, first + size);
    params.push_back(std::move(param));
  }
  return sd.messageExitContainer(message) >= 0;
}

std::uint64_t MonotonicMicroseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::uint64_t>(now.tv_sec) * 1000000u + static_cast<std::uint64_t>(now.tv_nsec) / 1000u;
}

}  // namespace

std::uint64_t ProcessOfProgramName(const std::string& name) {
  std::string prefix = kProgramNamePrefix;
  if (name.compare(0, prefix.size(), prefix) != 0) return 0;
  std::uint64_t process = 0;
  for (size_t i = prefix.size(); i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i) {
    process = process * 10 + static_cast<std::uint64_t>(name[i] - '0');
  }
  return process;
}

struct BusConnection::Impl {
  Impl(BusEvents& handlers, const BusLibrary& library) : events(handlers), sd(library) {}

  BusEvents& events;
  const BusLibrary& sd;
  sd_bus* bus = nullptr;
  int wakeFd = -1;
  std::string uniqueName;
  std::string wellKnownName;
  std::thread thread;
  std::atomic<bool> stopping{false};
  // Set on the bus thread once the connection has failed; every later call fails at once.
  bool broken = false;

  std::mutex commandMutex;
  std::deque<std::function<void()>> commands;

  // Deliveries waiting for their answer. Bus thread only.
  std::map<CallToken, sd_bus_message*> pendingCalls;
  CallToken nextCall = 1;

  void Submit(std::function<void()> command) {
    {
      std::lock_guard lock(commandMutex);
      commands.push_back(std::move(command));
    }
    std::uint64_t one = 1;
    [[maybe_unused]] ssize_t written = write(wakeFd, &one, sizeof one);
  }

  void RunCommands() {
    for (;;) {
      std::function<void()> command;
      {
        std::lock_guard lock(commandMutex);
        if (commands.empty()) return;
        command = std::move(commands.front());
        commands.pop_front();
      }
      command();
    }
  }

  // Sends a call and hands its reply (or null on failure) to `handler` on the bus thread.
  void Call(sd_bus_message* message, std::uint64_t timeout, ReplyHandler handler) {
    if (broken) {
      handler(nullptr);
      return;
    }
    auto* held = new ReplyHandler(std::move(handler));
    if (sd.callAsync(bus, nullptr, message, ReplyTrampoline, held, timeout) < 0) {
      (*held)(nullptr);
      delete held;
    }
  }

  sd_bus_message* NewCall(const std::string& peer, const char* member) {
    sd_bus_message* message = nullptr;
    if (broken ||
        sd.messageNewMethodCall(bus, &message, peer.c_str(), kObjectPath, kInterface, member) < 0) {
      return nullptr;
    }
    // Programs are never started by being called: a name with no owner is simply gone.
    sd.messageSetAutoStart(message, 0);
    return message;
  }

  // A notice expects no answer.
  void Notify(const std::string& peer, const char* member, const char* types, std::uint64_t argument) {
    sd_bus_message* message = NewCall(peer, member);
    if (message == nullptr) return;
    bool built = types[0] == '\0' || sd.messageAppend(message, types, argument) >= 0;
    if (built && sd.messageSetExpectReply(message, 0) >= 0) sd.send(bus, message, nullptr);
    sd.messageUnref(message);
  }

  void Loop() {
    while (!stopping.load()) {
      RunCommands();
      for (;;) {
        int r = broken ? 0 : sd.process(bus, nullptr);
        if (r < 0) FailConnection();
        if (r <= 0) break;
      }
      pollfd fds[2] = {{broken ? -1 : sd.getFd(bus), 0, 0}, {wakeFd, POLLIN, 0}};
      int timeout = -1;
      if (!broken) {
        int events = sd.getEvents(bus);
        fds[0].events = static_cast<short>(events > 0 ? events : POLLIN);
        std::uint64_t until = 0;
        if (sd.getTimeout(bus, &until) > 0 && until != UINT64_MAX) {
          std::uint64_t now = MonotonicMicroseconds();
          timeout = until > now ? static_cast<int>((until - now + 999) / 1000) : 0;
        }
      }
      if (poll(fds, 2, timeout) > 0 && (fds[1].revents & POLLIN)) {
        std::uint64_t count = 0;
        [[maybe_unused]] ssize_t got = read(wakeFd, &count, sizeof count);
      }
    }
  }

  void FailConnection() {
    broken = true;
    for (auto& [token, message] : pendingCalls) sd.messageUnref(message);
    pendingCalls.clear();
  }

  // Turns well-known program names into the unique names of their connections, which is how
  // programs know each other; names whose owner has gone meanwhile are left out.
  void ResolveOwners(std::vector<std::string> programs, std::function<void(std::vector<std::string>)> done) {
    struct Resolution {
      std::vector<std::string> owners;
      size_t outstanding = 0;
      std::function<void(std::vector<std::string>)> done;
    };
    auto resolution = std::make_shared<Resolution>();
    resolution->outstanding = programs.size();
    resolution->done = std::move(done);
    if (programs.empty()) {
      resolution->done({});
      return;
    }
    for (const std::string& program : programs) {
      sd_bus_message* message = nullptr;
      if (broken ||
          sd.messageNewMethodCall(bus, &message, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                         "org.freedesktop.DBus", "GetNameOwner") < 0 ||
          sd.messageAppend(message, "s", program.c_str()) < 0) {
        sd.messageUnref(message);
        message = nullptr;
      }
      auto finish = [resolution, &sd = sd](sd_bus_message* reply) {
        const char* owner = nullptr;
        if (!Failed(sd, reply) && sd.messageRead(reply, "s", &owner) >= 0 && owner != nullptr) {
          resolution->owners.emplace_back(owner);
        }
        if (--resolution->outstanding == 0) resolution->done(std::move(resolution->owners));
      };
      if (message == nullptr) {
        finish(nullptr);
        continue;
      }
      Call(message, kQueryTimeoutMicroseconds, finish);
      sd.messageUnref(message);
    }
  }

  static sd_bus_vtable VtableStart(const unsigned* formatReference) {
    sd_bus_vtable start{};
    start.type = _SD_BUS_VTABLE_START;
    start.x.start.element_size = sizeof(sd_bus_vtable);
    start.x.start.features = _SD_BUS_VTABLE_PARAM_NAMES;
    start.x.start.vtable_format_reference = formatReference;
    return start;
  }

  static Impl& Of(void* userdata) { return *static_cast<Impl*>(userdata); }

  static int OnDeliver(sd_bus_message* message, void* userdata, sd_bus_error*) {
    Impl& impl = Of(userdata);
    const BusLibrary& sd = impl.sd;
    Delivery delivery;
    int sent = 0;
    if (sd.messageRead(message, "ttub", &delivery.ticket, &delivery.window, &delivery.message, &sent) <
            0 ||
        !ReadParams(sd, message, delivery.params)) {
      return sd.replyMethodErrorf(message, kRefusedError, "malformed delivery");
    }
    delivery.sent = sent != 0;
    CallToken token = impl.nextCall++;
    impl.pendingCalls[token] = sd.messageRef(message);
    const char* sender = sd.messageGetSender(message);
    impl.events.Delivered(sender != nullptr ? sender : "", std::move(delivery), token);
    return 1;
  }

  static int OnIsWindow(sd_bus_message* message, void* userdata, sd_bus_error*) {
    const BusLibrary& sd = Of(userdata).sd;
    std::uint64_t handle = 0;
    if (sd.messageRead(message, "t", &handle) < 0)
      return sd.replyMethodErrorf(message, kRefusedError, "malformed question");
    return sd.replyMethodReturn(message, "b", Of(userdata).events.IsOwnWindow(handle) ? 1 : 0);
  }

  static int OnTopLevels(sd_bus_message* message, void* userdata, sd_bus_error*) {
    const BusLibrary& sd = Of(userdata).sd;
    std::vector<TopLevelInfo> windows = Of(userdata).events.OwnTopLevels();
    sd_bus_message* reply = nullptr;
    int r = sd.messageNewMethodReturn(message, &reply);
    if (r >= 0) r = sd.messageOpenContainer(reply, 'a', "(tssiiiib)");
    for (const TopLevelInfo& window : windows) {
      if (r >= 0) {
        r = sd.messageAppend(reply, "(tssiiiib)", window.handle, window.className.c_str(),
                                  window.title.c_str(), window.left, window.top, window.right, window.bottom,
                                  window.visible ? 1 : 0);
      }
    }
    if (r >= 0) r = sd.messageCloseContainer(reply);
    if (r >= 0) r = sd.send(nullptr, reply, nullptr);
    sd.messageUnref(reply);
    return r;
  }

  static int OnRelease(sd_bus_message* message, void* userdata, sd_bus_error*) {
    const BusLibrary& sd = Of(userdata).sd;
    std::uint64_t link = 0;
    const char* sender = sd.messageGetSender(message);
    if (sd.messageRead(message, "t", &link) >= 0 && sender != nullptr)
      Of(userdata).events.Released(sender, link);
    return 1;
  }

  static int OnSettled(sd_bus_message* message, void* userdata, sd_bus_error*) {
    const BusLibrary& sd = Of(userdata).sd;
    std::uint64_t ticket = 0;
    const char* sender = sd.messageGetSender(message);
    if (sd.messageRead(message, "t", &ticket) >= 0 && sender != nullptr) {
      Of(userdata).events.Settled(sender, ticket);
    }
    return 1;
  }

  static int OnChildSettled(sd_bus_message* message, void* userdata, sd_bus_error*) {
    const BusLibrary& sd = Of(userdata).sd;
    std::uint64_t process = 0;
    if (sd.messageRead(message, "t", &process) >= 0) Of(userdata).events.ChildSettled(process);
    return 1;
  }

  static int OnNameOwnerChanged(sd_bus_message* message, void* userdata, sd_bus_error*) {
    const BusLibrary& sd = Of(userdata).sd;
    const char* name = nullptr;
    const char* oldOwner = nullptr;
    const char* newOwner = nullptr;
    if (sd.messageRead(message, "sss", &name, &oldOwner, &newOwner) < 0) return 0;
    // A unique name losing its owner is a connection gone for good.
    if (name != nullptr && name[0] == ':' && newOwner != nullptr && newOwner[0] == '\0') {
      Of(userdata).events.PeerVanished(name);
    }
    return 0;
  }

  // The header's SD_BUS_VTABLE_START names the library's format marker, which would link the
  // library; the first entry is written out with the marker looked up instead. There is one
  // library, so one table serves every connection.
  static const sd_bus_vtable* Vtable(const unsigned* formatReference) {
    static const sd_bus_vtable table[] = {
        VtableStart(formatReference),
        SD_BUS_METHOD("Deliver", "ttuba(yttsay)", "x", OnDeliver, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_METHOD("IsWindow", "t", "b", OnIsWindow, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_METHOD("TopLevels", "", "a(tssiiiib)", OnTopLevels, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_METHOD("Release", "t", "", OnRelease,
                      SD_BUS_VTABLE_UNPRIVILEGED | SD_BUS_VTABLE_METHOD_NO_REPLY),
        SD_BUS_METHOD("Settled", "t", "", OnSettled,
                      SD_BUS_VTABLE_UNPRIVILEGED | SD_BUS_VTABLE_METHOD_NO_REPLY),
        SD_BUS_METHOD("ChildSettled", "t", "", OnChildSettled,
                      SD_BUS_VTABLE_UNPRIVILEGED | SD_BUS_VTABLE_METHOD_NO_REPLY),
        SD_BUS_VTABLE_END};
    return table;
  }
};

std::unique_ptr<BusConnection> BusConnection::Open(BusEvents& events, std::string& failure) {
  const BusLibrary* library = SessionBusLibrary();
  if (library == nullptr) {
    failure = std::string("no session bus library (") + kBusLibraryName + ")";
    return nullptr;
  }
  const BusLibrary& sd = *library;
  auto impl = std::make_unique<Impl>(events, sd);
  int r = sd.openUser(&impl->bus);
  if (r < 0) {
    failure = std::string("no session bus (") + std::strerror(-r) + ")";
    return nullptr;
  }
  const char* unique = nullptr;
  if (sd.getUniqueName(impl->bus, &unique) < 0 || unique == nullptr) {
    failure = "the session bus gave no name";
    sd.flushCloseUnref(impl->bus);
    return nullptr;
  }
  impl->uniqueName = unique;
  // One name per program; a second connection of the same process (tests) takes the next.
  std::string base = kProgramNamePrefix + std::to_string(getpid());
  for (int attempt = 1; attempt < 100 && impl->wellKnownName.empty(); ++attempt) {
    std::string candidate = attempt == 1 ? base : base + "_" + std::to_string(attempt);
    if (sd.requestName(impl->bus, candidate.c_str(), 0) >= 0) impl->wellKnownName = candidate;
  }
  if (impl->wellKnownName.empty() ||
      sd.addObjectVtable(impl->bus, nullptr, kObjectPath, kInterface, Impl::Vtable(sd.objectVtableFormat), impl.get()) < 0 ||
      sd.matchSignal(impl->bus, nullptr, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                          "org.freedesktop.DBus", "NameOwnerChanged", Impl::OnNameOwnerChanged,
                          impl.get()) < 0) {
    failure = "the session bus refused this program's name";
    sd.flushCloseUnref(impl->bus);
    return nullptr;
  }
  impl->wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (impl->wakeFd < 0) {
    failure = "no event descriptor for the bus thread";
    sd.flushCloseUnref(impl->bus);
    return nullptr;
  }
  Impl* raw = impl.get();
  impl->thread = std::thread([raw] { raw->Loop(); });
  return std::unique_ptr<BusConnection>(new BusConnection(std::move(impl)));
}

BusConnection::BusConnection(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

BusConnection::~BusConnection() {
  m_impl->stopping.store(true);
  m_impl->Submit([] {});
  if (m_impl->thread.joinable()) m_impl->thread.join();
  const BusLibrary& sd = m_impl->sd;
  for (auto& [token, message] : m_impl->pendingCalls) sd.messageUnref(message);
  sd.flushCloseUnref(m_impl->bus);
  close(m_impl->wakeFd);
}

const std::string& BusConnection::UniqueName() const { return m_impl->uniqueName; }

const std::string& BusConnection::WellKnownName() const { return m_impl->wellKnownName; }

bool BusConnection::OnBusThread() const { return std::this_thread::get_id() == m_impl->thread.get_id(); }

void BusConnection::Deliver(const std::string& peer, Delivery delivery,
                            std::function<void(bool taken, std::int64_t result)> done) {
  Impl* impl = m_impl.get();
  impl->Submit([impl, peer, delivery = std::move(delivery), done = std::move(done)] {
    const BusLibrary& sd = impl->sd;
    sd_bus_message* message = impl->NewCall(peer, "Deliver");
    int r = message != nullptr ? 0 : -ENOTCONN;
    if (r >= 0) {
      r = sd.messageAppend(message, "ttub", delivery.ticket, delivery.window, delivery.message,
                                delivery.sent ? 1 : 0);
    }
    if (r >= 0) r = sd.messageOpenContainer(message, 'a', kParamSignature);
    for (const WireParam& param : delivery.params) {
      if (r >= 0) r = AppendParam(sd, message, param);
    }
    if (r >= 0) r = sd.messageCloseContainer(message);
    if (r < 0) {
      sd.messageUnref(message);
      done(false, 0);
      return;
    }
    impl->Call(message, delivery.sent ? kSendTimeoutMicroseconds : kQueryTimeoutMicroseconds,
               [&sd, done](sd_bus_message* reply) {
                 std::int64_t result = 0;
                 bool taken = !Failed(sd, reply) && sd.messageRead(reply, "x", &result) >= 0;
                 done(taken, result);
               });
    sd.messageUnref(message);
  });
}

void BusConnection::AskIsWindow(const std::string& peer, std::uint64_t handle,
                                std::function<void(bool)> done) {
  Impl* impl = m_impl.get();
  impl->Submit([impl, peer, handle, done = std::move(done)] {
    const BusLibrary& sd = impl->sd;
    sd_bus_message* message = impl->NewCall(peer, "IsWindow");
    if (message == nullptr || sd.messageAppend(message, "t", handle) < 0) {
      sd.messageUnref(message);
      done(false);
      return;
    }
    impl->Call(message, kQueryTimeoutMicroseconds, [&sd, done](sd_bus_message* reply) {
      int exists = 0;
      done(!Failed(sd, reply) && sd.messageRead(reply, "b", &exists) >= 0 && exists != 0);
    });
    sd.messageUnref(message);
  });
}

void BusConnection::AskTopLevels(const std::string& peer,
                                 std::function<void(std::vector<TopLevelInfo>)> done) {
  Impl* impl = m_impl.get();
  impl->Submit([impl, peer, done = std::move(done)] {
    const BusLibrary& sd = impl->sd;
    sd_bus_message* message = impl->NewCall(peer, "TopLevels");
    if (message == nullptr) {
      done({});
      return;
    }
    impl->Call(message, kQueryTimeoutMicroseconds, [&sd, done](sd_bus_message* reply) {
      std::vector<TopLevelInfo> windows;
      if (!Failed(sd, reply) && sd.messageEnterContainer(reply, 'a', "(tssiiiib)") >= 0) {
        for (;;) {
          TopLevelInfo window;
          const char* className = nullptr;
          const char* title = nullptr;
          int visible = 0;
          if (sd.messageRead(reply, "(tssiiiib)", &window.handle, &className, &title, &window.left,
                                  &window.top, &window.right, &window.bottom, &visible) <= 0) {
            break;
          }
          window.className = className != nullptr ? className : "";
          window.title = title != nullptr ? title : "";
          window.visible = visible != 0;
          windows.push_back(std::move(window));
        }
      }
      done(std::move(windows));
    });
    sd.messageUnref(message);
  });
}

void BusConnection::ListPeers(std::function<void(std::vector<std::string>)> done) {
  Impl* impl = m_impl.get();
  impl->Submit([impl, done = std::move(done)] {
    const BusLibrary& sd = impl->sd;
    sd_bus_message* message = nullptr;
    if (impl->broken ||
        sd.messageNewMethodCall(impl->bus, &message, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                       "org.freedesktop.DBus", "ListNames") < 0) {
      done({});
      return;
    }
    impl->Call(message, kQueryTimeoutMicroseconds, [impl, &sd, done](sd_bus_message* reply) {
      std::vector<std::string> programs;
      char** names = nullptr;
      if (!Failed(sd, reply) && sd.messageReadStrv(reply, &names) >= 0 && names != nullptr) {
        for (char** name = names; *name != nullptr; ++name) {
          if (ProcessOfProgramName(*name) != 0 && impl->wellKnownName != *name) programs.emplace_back(*name);
          free(*name);
        }
        free(names);
      }
      impl->ResolveOwners(std::move(programs), done);
    });
    sd.messageUnref(message);
  });
}

void BusConnection::Release(const std::string& peer, std::uint64_t link) {
  Impl* impl = m_impl.get();
  impl->Submit([impl, peer, link] { impl->Notify(peer, "Release", "t", link); });
}

void BusConnection::Settled(const std::string& peer, std::uint64_t ticket) {
  Impl* impl = m_impl.get();
  impl->Submit([impl, peer, ticket] { impl->Notify(peer, "Settled", "t", ticket); });
}

void BusConnection::ChildSettled(std::uint64_t parentProcessId) {
  Impl* impl = m_impl.get();
  std::string parent = kProgramNamePrefix + std::to_string(parentProcessId);
  impl->Submit(
      [impl, parent] { impl->Notify(parent, "ChildSettled", "t", static_cast<std::uint64_t>(getpid())); });
}

void BusConnection::Answer(CallToken call, bool taken, std::int64_t result) {
  Impl* impl = m_impl.get();
  impl->Submit([impl, call, taken, result] {
    const BusLibrary& sd = impl->sd;
    auto found = impl->pendingCalls.find(call);
    if (found == impl->pendingCalls.end()) return;
    sd_bus_message* message = found->second;
    impl->pendingCalls.erase(found);
    if (taken)
      sd.replyMethodReturn(message, "x", result);
    else
      sd.replyMethodErrorf(message, kRefusedError, "no such window, or a message it cannot take");
    sd.messageUnref(message);
  });
}

}  // namespace vel::platform::bus
