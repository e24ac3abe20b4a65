#include "platform/bus/program_bus.h"

#include <unistd.h>

#include <chrono>

#include "platform/bus/param_codec.h"
#include "platform/display/display_backend.h"
#include "platform/kernel/ansi_text.h"
#include "platform/kernel/external_work.h"
#include "platform/kernel/global_memory.h"
#include "platform/kernel/wait_hub.h"
#include "platform/user/message_queue.h"
#include "platform/user/win32_errors.h"
#include "platform/user/window_tree.h"

namespace vel::platform::bus {
namespace {

// How long a peer may take over a posted message before the virtual clock stops waiting.
constexpr std::chrono::milliseconds kPostSettleLimit{2000};

ProgramBus* g_bus = nullptr;

void OnThreadIdle(DWORD threadId, uint64_t changesSeen) {
  if (g_bus != nullptr) g_bus->ThreadIdle(threadId, changesSeen);
}

void OnBlockFreed(HGLOBAL block) {
  if (g_bus != nullptr) g_bus->BlockFreed(block);
}

// The thread of a window of this program (0 for none or for the desktop).
DWORD OwnWindowThread(HWND window) {
  TreeLock lock;
  Window* record = LookupWindow(window);
  return record != nullptr && record != &Desktop() ? record->threadId : 0;
}

// Waits on this thread until `done` is set (under the WaitHub lock), handling what other
// threads and programs send to this thread meanwhile.
void AwaitHandlingSends(const bool& done) {
  MessageQueue& mine = CurrentQueue();
  WaitHub& hub = WaitHub::Instance();
  for (;;) {
    HandleIncomingSentMessages();
    std::unique_lock lock(hub.Mutex());
    hub.Wait(lock, [&] { return done || !mine.incoming.empty(); });
    if (done) return;
  }
}

// Sets a result seen by AwaitHandlingSends.
template <typename Value>
void Finish(bool& done, Value& slot, Value value) {
  WaitHub& hub = WaitHub::Instance();
  std::lock_guard lock(hub.Mutex());
  slot = std::move(value);
  done = true;
  hub.NotifyLocked();
}

}  // namespace

struct ProgramBus::SendChain {
  std::string sender;
  Delivery delivery;
  ParamShape shape;
  std::vector<HWND> targets;
  size_t next = 0;
  std::int64_t result = 0;
  bool taken = false;
  CallToken call = 0;
};

std::unique_ptr<ProgramBus> ProgramBus::Connect(std::string& failure) {
  std::unique_ptr<ProgramBus> bus(new ProgramBus());
  bus->m_connection = BusConnection::Open(*bus, failure);
  if (!bus->m_connection) return nullptr;
  return bus;
}

ProgramBus::~ProgramBus() {
  if (g_bus == this) g_bus = nullptr;
}

CodecContext ProgramBus::Context(const std::string& peer) {
  return CodecContext{m_connection->UniqueName(), peer, m_windows, m_links};
}

bool ProgramBus::DeliverAndWait(const std::string& peer, Delivery delivery, std::int64_t& result) {
  // The bus thread answers deliveries itself; waiting there for one would wait forever.
  if (m_connection->OnBusThread()) return false;
  struct Outcome {
    bool done = false;
    std::pair<bool, std::int64_t> answer{false, 0};
  };
  auto outcome = std::make_shared<Outcome>();
  m_connection->Deliver(peer, std::move(delivery), [outcome](bool taken, std::int64_t value) {
    Finish(outcome->done, outcome->answer, std::make_pair(taken, value));
  });
  AwaitHandlingSends(outcome->done);
  result = outcome->answer.second;
  return outcome->answer.first;
}

std::vector<std::string> ProgramBus::ListPeersAndWait() {
  struct Outcome {
    bool done = false;
    std::vector<std::string> peers;
  };
  auto outcome = std::make_shared<Outcome>();
  m_connection->ListPeers(
      [outcome](std::vector<std::string> peers) { Finish(outcome->done, outcome->peers, std::move(peers)); });
  AwaitHandlingSends(outcome->done);
  return std::move(outcome->peers);
}

bool ProgramBus::IsWindow(HWND window) {
  std::optional<ForeignWindow> foreign = m_windows.Find(window);
  if (!foreign || foreign->gone || m_connection->OnBusThread()) return false;
  struct Outcome {
    bool done = false;
    bool exists = false;
  };
  auto outcome = std::make_shared<Outcome>();
  m_connection->AskIsWindow(foreign->owner, foreign->remote,
                            [outcome](bool exists) { Finish(outcome->done, outcome->exists, exists); });
  AwaitHandlingSends(outcome->done);
  return outcome->exists;
}

DWORD ProgramBus::ProcessOf(HWND window) {
  std::optional<ForeignWindow> foreign = m_windows.Find(window);
  return foreign && !foreign->gone ? static_cast<DWORD>(foreign->processId) : 0;
}

LRESULT ProgramBus::Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  std::optional<ParamShape> shape = ShapeOf(message, true);
  std::optional<ForeignWindow> foreign = m_windows.Find(window);
  if (!shape) {
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
  }
  if (!foreign || foreign->gone) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  CodecContext context = Context(foreign->owner);
  std::optional<Encoded> encoded = EncodeMessage(*shape, message, wParam, lParam, context);
  if (!encoded) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  Delivery delivery{0, foreign->remote, message, true, encoded->params};
  std::int64_t result = 0;
  if (!DeliverAndWait(foreign->owner, std::move(delivery), result)) {
    AbandonHandOver(*encoded, context);
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  CompleteHandOver(*shape, message, lParam, *encoded, context);
  return static_cast<LRESULT>(result);
}

bool ProgramBus::Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  std::optional<ParamShape> shape = ShapeOf(message, false);
  std::optional<ForeignWindow> foreign = m_windows.Find(window);
  if (!shape) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  if (!foreign || foreign->gone) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  CodecContext context = Context(foreign->owner);
  std::optional<Encoded> encoded = EncodeMessage(*shape, message, wParam, lParam, context);
  if (!encoded) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  // The work begins before the message leaves, so no idle point can slip in between.
  std::uint64_t ticket = 0;
  {
    std::lock_guard lock(m_settleMutex);
    ticket = m_nextTicket++;
    m_outstanding[ticket] = OutstandingPost{foreign->owner, ExternalWork::Instance().Begin(kPostSettleLimit)};
  }
  Delivery delivery{ticket, foreign->remote, message, false, encoded->params};
  std::int64_t ignored = 0;
  if (!DeliverAndWait(foreign->owner, std::move(delivery), ignored)) {
    AbandonHandOver(*encoded, context);
    Settled(foreign->owner, ticket);
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  CompleteHandOver(*shape, message, lParam, *encoded, context);
  return true;
}

void ProgramBus::Broadcast(bool send, UINT message, WPARAM wParam, LPARAM lParam) {
  std::optional<ParamShape> shape = ShapeOf(message, send);
  if (!shape || m_connection->OnBusThread()) return;
  std::vector<std::string> peers = ListPeersAndWait();
  // Every program gets its own copies; the sender keeps its references, as it does for its own
  // windows that the broadcast reached.
  for (const std::string& peer : peers) {
    CodecContext context = Context(peer);
    std::optional<Encoded> encoded = EncodeMessage(*shape, message, wParam, lParam, context);
    if (!encoded) return;
    Delivery delivery{0, reinterpret_cast<std::uintptr_t>(HWND_BROADCAST), message, send, encoded->params};
    std::int64_t ignored = 0;
    if (!DeliverAndWait(peer, std::move(delivery), ignored)) AbandonHandOver(*encoded, context);
  }
}

std::vector<std::pair<std::string, HANDLE>>* ProgramBus::Properties(HWND window) {
  return m_windows.Properties(window);
}

HWND ProgramBus::OtherProgramTopLevelAt(POINT screenPoint) {
  std::optional<ProgramWindow> found = CurrentDisplay().OtherProgramWindowAt(screenPoint);
  if (!found || found->program == m_connection->UniqueName()) return nullptr;
  HWND handle = m_windows.HandleFor(found->program, found->window, found->processId);
  // A program that left the bus leaves its windows on the desktop for a moment.
  std::optional<ForeignWindow> known = m_windows.Find(handle);
  return known && !known->gone ? handle : nullptr;
}

std::vector<std::pair<HWND, TopLevelInfo>> ProgramBus::OtherProgramsTopLevels() {
  std::vector<std::pair<HWND, TopLevelInfo>> windows;
  if (m_connection->OnBusThread()) return windows;
  std::vector<std::string> peers = ListPeersAndWait();
  for (const std::string& peer : peers) {
    struct Listing {
      bool done = false;
      std::vector<TopLevelInfo> windows;
    };
    auto listing = std::make_shared<Listing>();
    m_connection->AskTopLevels(peer, [listing](std::vector<TopLevelInfo> found) {
      Finish(listing->done, listing->windows, std::move(found));
    });
    AwaitHandlingSends(listing->done);
    std::uint64_t process = 0;
    for (TopLevelInfo& window : listing->windows) {
      window.className = Utf8ToAnsi(window.className);
      window.title = Utf8ToAnsi(window.title);
      HWND handle = m_windows.HandleFor(peer, window.handle, process);
      windows.emplace_back(handle, std::move(window));
    }
  }
  return windows;
}

void ProgramBus::Delivered(const std::string& sender, Delivery delivery, CallToken call) {
  std::optional<ParamShape> shape = ShapeOf(delivery.message, delivery.sent);
  std::vector<HWND> targets;
  if (delivery.window == reinterpret_cast<std::uintptr_t>(HWND_BROADCAST)) {
    TreeLock lock;
    targets = TopLevelWindows();
  } else if (OwnWindowThread(reinterpret_cast<HWND>(delivery.window)) != 0) {
    targets.push_back(reinterpret_cast<HWND>(delivery.window));
  }
  bool broadcast = delivery.window == reinterpret_cast<std::uintptr_t>(HWND_BROADCAST);
  if (!shape || (targets.empty() && !broadcast)) {
    m_connection->Answer(call, false, 0);
    return;
  }
  if (!delivery.sent) {
    DeliverPosted(sender, delivery, *shape, targets, call);
    return;
  }
  auto chain = std::make_shared<SendChain>();
  chain->sender = sender;
  chain->delivery = std::move(delivery);
  chain->shape = *shape;
  chain->targets = std::move(targets);
  chain->taken = broadcast;
  chain->call = call;
  SendNext(chain);
}

void ProgramBus::DeliverPosted(const std::string& sender, const Delivery& delivery, const ParamShape& shape,
                               const std::vector<HWND>& targets, CallToken call) {
  CodecContext context = Context(sender);
  bool taken = delivery.window == reinterpret_cast<std::uintptr_t>(HWND_BROADCAST);
  bool malformed = false;
  for (HWND target : targets) {
    std::optional<Decoded> decoded = DecodeMessage(shape, delivery.message, delivery.params, context);
    if (!decoded) {
      malformed = true;
      break;
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    MSG msg{target, delivery.message, decoded->wParam, decoded->lParam, GetTickCount(), cursor};
    DWORD threadId = OwnWindowThread(target);
    if (threadId == 0 || !PostToThread(threadId, msg, false)) {
      UndoDecode(delivery.message, shape, *decoded, context);
      continue;
    }
    taken = true;
    if (delivery.ticket != 0) OweSettle(threadId, sender, delivery.ticket);
  }
  m_connection->Answer(call, taken && !malformed, 0);
}

void ProgramBus::SendNext(std::shared_ptr<SendChain> chain) {
  CodecContext context = Context(chain->sender);
  while (chain->next < chain->targets.size()) {
    HWND target = chain->targets[chain->next++];
    DWORD threadId = OwnWindowThread(target);
    std::optional<Decoded> decoded =
        DecodeMessage(chain->shape, chain->delivery.message, chain->delivery.params, context);
    if (!decoded) break;
    auto sent = std::make_shared<SentMessage>();
    sent->window = target;
    sent->message = chain->delivery.message;
    sent->wParam = decoded->wParam;
    sent->lParam = decoded->lParam;
    // Runs on the receiving thread once its procedure has answered; the next window of a
    // broadcast is then sent to from there, so the bus thread never waits.
    std::weak_ptr<SentMessage> weak = sent;
    sent->onDone = [this, chain, weak, decoded = *decoded] {
      std::shared_ptr<SentMessage> done = weak.lock();
      if (chain->shape.lendsAtoms) ReleaseLentAtoms(decoded);
      if (done) {
        chain->result = done->result;
        chain->taken = true;
      }
      SendNext(chain);
    };
    if (threadId != 0 && QueueSentMessage(threadId, sent)) return;
    sent->onDone = nullptr;
    UndoDecode(chain->delivery.message, chain->shape, *decoded, context);
  }
  m_connection->Answer(chain->call, chain->taken, chain->result);
}

void ProgramBus::OweSettle(DWORD threadId, const std::string& peer, std::uint64_t ticket) {
  std::uint64_t changes = 0;
  {
    WaitHub& hub = WaitHub::Instance();
    std::lock_guard lock(hub.Mutex());
    if (MessageQueue* queue = QueueOfThread(threadId)) changes = queue->changes;
  }
  std::lock_guard lock(m_settleMutex);
  // A thread that has already looked at its queue since the post and run out of work has
  // handled it; otherwise the notice waits for its next idle point.
  auto idle = m_lastIdle.find(threadId);
  if (idle != m_lastIdle.end() && idle->second >= changes) {
    m_connection->Settled(peer, ticket);
    return;
  }
  m_owed.push_back(OwedSettle{threadId, changes, peer, ticket});
}

void ProgramBus::ThreadIdle(DWORD threadId, std::uint64_t changesSeen) {
  std::lock_guard lock(m_settleMutex);
  m_lastIdle[threadId] = changesSeen;
  std::erase_if(m_owed, [&](const OwedSettle& owed) {
    if (owed.threadId != threadId || owed.changesAfter > changesSeen) return false;
    m_connection->Settled(owed.peer, owed.ticket);
    return true;
  });
  // The program that started this one learns that it now waits for input.
  if (!m_toldParent) {
    m_toldParent = true;
    m_connection->ChildSettled(static_cast<std::uint64_t>(getppid()));
  }
}

void ProgramBus::BlockFreed(HGLOBAL block) {
  for (const BlockLink& link : m_links.Forget(block)) m_connection->Release(link.peer, link.id);
}

bool ProgramBus::IsOwnWindow(std::uint64_t handle) {
  return OwnWindowThread(reinterpret_cast<HWND>(handle)) != 0;
}

std::vector<TopLevelInfo> ProgramBus::OwnTopLevels() {
  std::vector<TopLevelInfo> windows;
  TreeLock lock;
  for (HWND handle : TopLevelWindows()) {
    Window* window = LookupWindow(handle);
    if (window == nullptr) continue;
    TopLevelInfo info;
    info.handle = reinterpret_cast<std::uintptr_t>(handle);
    info.className = AnsiToUtf8(window->windowClass != nullptr ? window->windowClass->name : "");
    info.title = AnsiToUtf8(window->text);
    RECT rect = ScreenRect(*window);
    info.left = rect.left;
    info.top = rect.top;
    info.right = rect.right;
    info.bottom = rect.bottom;
    info.visible = IsShowing(*window);
    windows.push_back(std::move(info));
  }
  return windows;
}

void ProgramBus::Released(const std::string& sender, std::uint64_t link) {
  if (std::optional<HGLOBAL> local = m_links.TakeReleased(sender, link)) GlobalFree(*local);
}

void ProgramBus::Settled(const std::string& sender, std::uint64_t ticket) {
  std::uint64_t work = 0;
  {
    std::lock_guard lock(m_settleMutex);
    auto found = m_outstanding.find(ticket);
    if (found == m_outstanding.end() || found->second.peer != sender) return;
    work = found->second.work;
    m_outstanding.erase(found);
  }
  ExternalWork::Instance().End(work);
}

void ProgramBus::ChildSettled(std::uint64_t processId) {
  ExternalWork::Instance().ChildSettled(static_cast<long>(processId));
}

void ProgramBus::PeerVanished(const std::string& uniqueName) {
  m_windows.OwnerGone(uniqueName);
  m_links.ForgetPeer(uniqueName);
  std::vector<std::uint64_t> ended;
  {
    std::lock_guard lock(m_settleMutex);
    std::erase_if(m_owed, [&](const OwedSettle& owed) { return owed.peer == uniqueName; });
    for (auto at = m_outstanding.begin(); at != m_outstanding.end();) {
      if (at->second.peer == uniqueName) {
        ended.push_back(at->second.work);
        at = m_outstanding.erase(at);
      } else {
        ++at;
      }
    }
  }
  for (std::uint64_t work : ended) ExternalWork::Instance().End(work);
}

ProgramBus* CurrentProgramBus() {
  static ProgramBus* bus = [] {
    std::string failure;
    std::unique_ptr<ProgramBus> connected = ProgramBus::Connect(failure);
    if (!connected) return static_cast<ProgramBus*>(nullptr);
    // The bus lives as long as the process: its thread may still be answering other programs
    // while static objects are being destroyed at exit.
    g_bus = connected.release();
    // The desktop names this program's windows, so that other programs find them under the
    // pointer when they drag something onto them.
    CurrentDisplay().NameProgram(g_bus->UniqueName(), static_cast<std::uint64_t>(getpid()));
    SetThreadIdleObserver(OnThreadIdle);
    SetGlobalFreeObserver(OnBlockFreed);
    ExternalWork::Instance().SetChildSettlingObservable(true);
    return g_bus;
  }();
  return bus;
}

}  // namespace vel::platform::bus

namespace vel::platform {

ForeignWindows* CurrentForeignWindows() { return bus::CurrentProgramBus(); }

}  // namespace vel::platform
