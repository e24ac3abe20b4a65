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
bool Failed(sd_bus_message* reply) {
  return reply == nullptr || sd_bus_message_is_method_error(reply, nullptr) > 0;
}

int ReplyTrampoline(sd_bus_message* reply, void* userdata, sd_bus_error*) {
  auto* handler = static_cast<ReplyHandler*>(userdata);
  (*handler)(reply);
  delete handler;
  return 0;
}

int AppendParam(sd_bus_message* message, const WireParam& param) {
  int r = sd_bus_message_open_container(message, 'r', "yttsay");
  if (r >= 0)
    r = sd_bus_message_append(message, "ytts", static_cast<std::uint8_t>(param.kind), param.value,
                              param.extra, param.text.c_str());
  if (r >= 0) r = sd_bus_message_append_array(message, 'y', param.bytes.data(), param.bytes.size());
  if (r >= 0) r = sd_bus_message_close_container(message);
  return r;
}

// Reads the parameters of a delivery; false for anything malformed or too long.
bool ReadParams(sd_bus_message* message, std::vector<WireParam>& params) {
  if (sd_bus_message_enter_container(message, 'a', kParamSignature) < 0) return false;
  for (;;) {
    int r = sd_bus_message_enter_container(message, 'r', "yttsay");
    if (r < 0) return false;
    if (r == 0) break;
    if (params.size() >= kMaxWireParams) return false;
    WireParam param;
    std::uint8_t kind = 0;
    const char* text = nullptr;
    const void* bytes = nullptr;
    size_t size = 0;
    if (sd_bus_message_read(message, "ytts", &kind, &param.value, &param.extra, &text) < 0) return false;
    if (sd_bus_message_read_array(message, 'y', &bytes, &size) < 0) return false;
    if (sd_bus_message_exit_container(message) < 0) return false;
    param.kind = static_cast<WireParam::Kind>(kind);
    param.text = text != nullptr ? text : "";
    const auto* first = static_cast<const std::uint8_t*>(bytes);
    if (size > 0) param.bytes.assign(first, first + size);
    params.push_back(std::move(param));
  }
  return sd_bus_message_exit_container(message) >= 0;
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
  explicit Impl(BusEvents& handlers) : events(handlers) {}

  BusEvents& events;
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
    if (sd_bus_call_async(bus, nullptr, message, ReplyTrampoline, held, timeout) < 0) {
      (*held)(nullptr);
      delete held;
    }
  }

  sd_bus_message* NewCall(const std::string& peer, const char* member) {
    sd_bus_message* message = nullptr;
    if (broken ||
        sd_bus_message_new_method_call(bus, &message, peer.c_str(), kObjectPath, kInterface, member) < 0) {
      return nullptr;
    }
    // Programs are never started by being called: a name with no owner is simply gone.
    sd_bus_message_set_auto_start(message, 0);
    return message;
  }

  // A notice expects no answer.
  void Notify(const std::string& peer, const char* member, const char* types, std::uint64_t argument) {
    sd_bus_message* message = NewCall(peer, member);
    if (message == nullptr) return;
    bool built = types[0] == '\0' || sd_bus_message_append(message, types, argument) >= 0;
    if (built && sd_bus_message_set_expect_reply(message, 0) >= 0) sd_bus_send(bus, message, nullptr);
    sd_bus_message_unref(message);
  }

  void Loop() {
    while (!stopping.load()) {
      RunCommands();
      for (;;) {
        int r = broken ? 0 : sd_bus_process(bus, nullptr);
        if (r < 0) FailConnection();
        if (r <= 0) break;
      }
      pollfd fds[2] = {{broken ? -1 : sd_bus_get_fd(bus), 0, 0}, {wakeFd, POLLIN, 0}};
      int timeout = -1;
      if (!broken) {
        int events = sd_bus_get_events(bus);
        fds[0].events = static_cast<short>(events > 0 ? events : POLLIN);
        std::uint64_t until = 0;
        if (sd_bus_get_timeout(bus, &until) > 0 && until != UINT64_MAX) {
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
    for (auto& [token, message] : pendingCalls) sd_bus_message_unref(message);
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
          sd_bus_message_new_method_call(bus, &message, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                         "org.freedesktop.DBus", "GetNameOwner") < 0 ||
          sd_bus_message_append(message, "s", program.c_str()) < 0) {
        sd_bus_message_unref(message);
        message = nullptr;
      }
      auto finish = [resolution](sd_bus_message* reply) {
        const char* owner = nullptr;
        if (!Failed(reply) && sd_bus_message_read(reply, "s", &owner) >= 0 && owner != nullptr) {
          resolution->owners.emplace_back(owner);
        }
        if (--resolution->outstanding == 0) resolution->done(std::move(resolution->owners));
      };
      if (message == nullptr) {
        finish(nullptr);
        continue;
      }
      Call(message, kQueryTimeoutMicroseconds, finish);
      sd_bus_message_unref(message);
    }
  }

  static Impl& Of(void* userdata) { return *static_cast<Impl*>(userdata); }

  static int OnDeliver(sd_bus_message* message, void* userdata, sd_bus_error*) {
    Impl& impl = Of(userdata);
    Delivery delivery;
    int sent = 0;
    if (sd_bus_message_read(message, "ttub", &delivery.ticket, &delivery.window, &delivery.message, &sent) <
            0 ||
        !ReadParams(message, delivery.params)) {
      return sd_bus_reply_method_errorf(message, kRefusedError, "malformed delivery");
    }
    delivery.sent = sent != 0;
    CallToken token = impl.nextCall++;
    impl.pendingCalls[token] = sd_bus_message_ref(message);
    const char* sender = sd_bus_message_get_sender(message);
    impl.events.Delivered(sender != nullptr ? sender : "", std::move(delivery), token);
    return 1;
  }

  static int OnIsWindow(sd_bus_message* message, void* userdata, sd_bus_error*) {
    std::uint64_t handle = 0;
    if (sd_bus_message_read(message, "t", &handle) < 0)
      return sd_bus_reply_method_errorf(message, kRefusedError, "malformed question");
    return sd_bus_reply_method_return(message, "b", Of(userdata).events.IsOwnWindow(handle) ? 1 : 0);
  }

  static int OnTopLevels(sd_bus_message* message, void* userdata, sd_bus_error*) {
    std::vector<TopLevelInfo> windows = Of(userdata).events.OwnTopLevels();
    sd_bus_message* reply = nullptr;
    int r = sd_bus_message_new_method_return(message, &reply);
    if (r >= 0) r = sd_bus_message_open_container(reply, 'a', "(tssiiiib)");
    for (const TopLevelInfo& window : windows) {
      if (r >= 0) {
        r = sd_bus_message_append(reply, "(tssiiiib)", window.handle, window.className.c_str(),
                                  window.title.c_str(), window.left, window.top, window.right, window.bottom,
                                  window.visible ? 1 : 0);
      }
    }
    if (r >= 0) r = sd_bus_message_close_container(reply);
    if (r >= 0) r = sd_bus_send(nullptr, reply, nullptr);
    sd_bus_message_unref(reply);
    return r;
  }

  static int OnRelease(sd_bus_message* message, void* userdata, sd_bus_error*) {
    std::uint64_t link = 0;
    const char* sender = sd_bus_message_get_sender(message);
    if (sd_bus_message_read(message, "t", &link) >= 0 && sender != nullptr)
      Of(userdata).events.Released(sender, link);
    return 1;
  }

  static int OnSettled(sd_bus_message* message, void* userdata, sd_bus_error*) {
    std::uint64_t ticket = 0;
    const char* sender = sd_bus_message_get_sender(message);
    if (sd_bus_message_read(message, "t", &ticket) >= 0 && sender != nullptr) {
      Of(userdata).events.Settled(sender, ticket);
    }
    return 1;
  }

  static int OnChildSettled(sd_bus_message* message, void* userdata, sd_bus_error*) {
    std::uint64_t process = 0;
    if (sd_bus_message_read(message, "t", &process) >= 0) Of(userdata).events.ChildSettled(process);
    return 1;
  }

  static int OnNameOwnerChanged(sd_bus_message* message, void* userdata, sd_bus_error*) {
    const char* name = nullptr;
    const char* oldOwner = nullptr;
    const char* newOwner = nullptr;
    if (sd_bus_message_read(message, "sss", &name, &oldOwner, &newOwner) < 0) return 0;
    // A unique name losing its owner is a connection gone for good.
    if (name != nullptr && name[0] == ':' && newOwner != nullptr && newOwner[0] == '\0') {
      Of(userdata).events.PeerVanished(name);
    }
    return 0;
  }

  static const sd_bus_vtable* Vtable() {
    static const sd_bus_vtable table[] = {
        SD_BUS_VTABLE_START(0),
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
  auto impl = std::make_unique<Impl>(events);
  int r = sd_bus_open_user(&impl->bus);
  if (r < 0) {
    failure = std::string("no session bus (") + std::strerror(-r) + ")";
    return nullptr;
  }
  const char* unique = nullptr;
  if (sd_bus_get_unique_name(impl->bus, &unique) < 0 || unique == nullptr) {
    failure = "the session bus gave no name";
    sd_bus_flush_close_unref(impl->bus);
    return nullptr;
  }
  impl->uniqueName = unique;
  // One name per program; a second connection of the same process (tests) takes the next.
  std::string base = kProgramNamePrefix + std::to_string(getpid());
  for (int attempt = 1; attempt < 100 && impl->wellKnownName.empty(); ++attempt) {
    std::string candidate = attempt == 1 ? base : base + "_" + std::to_string(attempt);
    if (sd_bus_request_name(impl->bus, candidate.c_str(), 0) >= 0) impl->wellKnownName = candidate;
  }
  if (impl->wellKnownName.empty() ||
      sd_bus_add_object_vtable(impl->bus, nullptr, kObjectPath, kInterface, Impl::Vtable(), impl.get()) < 0 ||
      sd_bus_match_signal(impl->bus, nullptr, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                          "org.freedesktop.DBus", "NameOwnerChanged", Impl::OnNameOwnerChanged,
                          impl.get()) < 0) {
    failure = "the session bus refused this program's name";
    sd_bus_flush_close_unref(impl->bus);
    return nullptr;
  }
  impl->wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (impl->wakeFd < 0) {
    failure = "no event descriptor for the bus thread";
    sd_bus_flush_close_unref(impl->bus);
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
  for (auto& [token, message] : m_impl->pendingCalls) sd_bus_message_unref(message);
  sd_bus_flush_close_unref(m_impl->bus);
  close(m_impl->wakeFd);
}

const std::string& BusConnection::UniqueName() const { return m_impl->uniqueName; }

const std::string& BusConnection::WellKnownName() const { return m_impl->wellKnownName; }

bool BusConnection::OnBusThread() const { return std::this_thread::get_id() == m_impl->thread.get_id(); }

void BusConnection::Deliver(const std::string& peer, Delivery delivery,
                            std::function<void(bool taken, std::int64_t result)> done) {
  Impl* impl = m_impl.get();
  impl->Submit([impl, peer, delivery = std::move(delivery), done = std::move(done)] {
    sd_bus_message* message = impl->NewCall(peer, "Deliver");
    int r = message != nullptr ? 0 : -ENOTCONN;
    if (r >= 0) {
      r = sd_bus_message_append(message, "ttub", delivery.ticket, delivery.window, delivery.message,
                                delivery.sent ? 1 : 0);
    }
    if (r >= 0) r = sd_bus_message_open_container(message, 'a', kParamSignature);
    for (const WireParam& param : delivery.params) {
      if (r >= 0) r = AppendParam(message, param);
    }
    if (r >= 0) r = sd_bus_message_close_container(message);
    if (r < 0) {
      sd_bus_message_unref(message);
      done(false, 0);
      return;
    }
    impl->Call(message, delivery.sent ? kSendTimeoutMicroseconds : kQueryTimeoutMicroseconds,
               [done](sd_bus_message* reply) {
                 std::int64_t result = 0;
                 bool taken = !Failed(reply) && sd_bus_message_read(reply, "x", &result) >= 0;
                 done(taken, result);
               });
    sd_bus_message_unref(message);
  });
}

void BusConnection::AskIsWindow(const std::string& peer, std::uint64_t handle,
                                std::function<void(bool)> done) {
  Impl* impl = m_impl.get();
  impl->Submit([impl, peer, handle, done = std::move(done)] {
    sd_bus_message* message = impl->NewCall(peer, "IsWindow");
    if (message == nullptr || sd_bus_message_append(message, "t", handle) < 0) {
      sd_bus_message_unref(message);
      done(false);
      return;
    }
    impl->Call(message, kQueryTimeoutMicroseconds, [done](sd_bus_message* reply) {
      int exists = 0;
      done(!Failed(reply) && sd_bus_message_read(reply, "b", &exists) >= 0 && exists != 0);
    });
    sd_bus_message_unref(message);
  });
}

void BusConnection::AskTopLevels(const std::string& peer,
                                 std::function<void(std::vector<TopLevelInfo>)> done) {
  Impl* impl = m_impl.get();
  impl->Submit([impl, peer, done = std::move(done)] {
    sd_bus_message* message = impl->NewCall(peer, "TopLevels");
    if (message == nullptr) {
      done({});
      return;
    }
    impl->Call(message, kQueryTimeoutMicroseconds, [done](sd_bus_message* reply) {
      std::vector<TopLevelInfo> windows;
      if (!Failed(reply) && sd_bus_message_enter_container(reply, 'a', "(tssiiiib)") >= 0) {
        for (;;) {
          TopLevelInfo window;
          const char* className = nullptr;
          const char* title = nullptr;
          int visible = 0;
          if (sd_bus_message_read(reply, "(tssiiiib)", &window.handle, &className, &title, &window.left,
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
    sd_bus_message_unref(message);
  });
}

void BusConnection::ListPeers(std::function<void(std::vector<std::string>)> done) {
  Impl* impl = m_impl.get();
  impl->Submit([impl, done = std::move(done)] {
    sd_bus_message* message = nullptr;
    if (impl->broken ||
        sd_bus_message_new_method_call(impl->bus, &message, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                       "org.freedesktop.DBus", "ListNames") < 0) {
      done({});
      return;
    }
    impl->Call(message, kQueryTimeoutMicroseconds, [impl, done](sd_bus_message* reply) {
      std::vector<std::string> programs;
      char** names = nullptr;
      if (!Failed(reply) && sd_bus_message_read_strv(reply, &names) >= 0 && names != nullptr) {
        for (char** name = names; *name != nullptr; ++name) {
          if (ProcessOfProgramName(*name) != 0 && impl->wellKnownName != *name) programs.emplace_back(*name);
          free(*name);
        }
        free(names);
      }
      impl->ResolveOwners(std::move(programs), done);
    });
    sd_bus_message_unref(message);
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
    auto found = impl->pendingCalls.find(call);
    if (found == impl->pendingCalls.end()) return;
    sd_bus_message* message = found->second;
    impl->pendingCalls.erase(found);
    if (taken)
      sd_bus_reply_method_return(message, "x", result);
    else
      sd_bus_reply_method_errorf(message, kRefusedError, "no such window, or a message it cannot take");
    sd_bus_message_unref(message);
  });
}

}  // namespace vel::platform::bus
