// A runtime window as DDE server: a plain client window on the same thread talks to it, and the
// procedure (the test) handles the DDE events in its ACCEPT loop.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/ipc/dde_data.h"
#include "runtime/ipc/dde_procedures.h"
#include "runtime/services/error_state.h"
#include "runtime/values/string_stack.h"
#include "runtime/windows/accept_step.h"
#include "runtime/windows/event_codes.h"
#include "tests/runtime/ipc/ipc_harness.h"

namespace vel::ipc {
namespace {

using testing::Number;
using windows::ProcedureWindow;

// The client's side: the server's answer to its initiate, and every DDE message it was sent
// or posted since (the ACCEPT loop dispatches the thread's messages, the client's among them).
HWND g_server = nullptr;
std::vector<MSG> g_received;

LRESULT CALLBACK ClientProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DDE_ACK && g_server == nullptr) {
    g_server = reinterpret_cast<HWND>(wParam);
    GlobalDeleteAtom(LOWORD(lParam));
    GlobalDeleteAtom(HIWORD(lParam));
    return 0;
  }
  if (message >= WM_DDE_FIRST && message <= WM_DDE_LAST) {
    g_received.push_back(MSG{window, message, wParam, lParam, 0, {}});
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// Takes the first message of a kind the client has received, dispatching what waits for it.
bool Received(HWND client, UINT kind, MSG& found) {
  MSG waiting{};
  while (PeekMessageA(&waiting, client, WM_DDE_FIRST, WM_DDE_LAST, PM_REMOVE)) DispatchMessageA(&waiting);
  for (auto at = g_received.begin(); at != g_received.end(); ++at) {
    if (at->message != kind) continue;
    found = *at;
    g_received.erase(at);
    return true;
  }
  return false;
}

std::string Pop() {
  values::StringView top = values::TopView();
  std::string text(top.data, top.length);
  values::DropTop();
  return text;
}

class DdeServer : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ClientProcedure;
    windowClass.lpszClassName = "DdeTestClient";
    RegisterClassA(&windowClass);
    m_client =
        CreateWindowExA(0, "DdeTestClient", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    g_server = nullptr;
    g_received.clear();
    m_harness.Open(m_window, "Server");
    ASSERT_EQ(testing::NextEvent(m_window), Number(windows::EVENT_OpenWindow));
  }
  void TearDown() override { DestroyWindow(m_client); }

  HWND Initiate(const char* application, const char* topic) {
    g_server = nullptr;
    ATOM applicationAtom = application != nullptr ? GlobalAddAtomA(application) : 0;
    ATOM topicAtom = topic != nullptr ? GlobalAddAtomA(topic) : 0;
    SendMessageA(HWND_BROADCAST, WM_DDE_INITIATE, reinterpret_cast<WPARAM>(m_client),
                 MAKELPARAM(applicationAtom, topicAtom));
    GlobalDeleteAtom(applicationAtom);
    GlobalDeleteAtom(topicAtom);
    return g_server;
  }

  std::int32_t Register(const char* application, const char* topic) {
    values::PushCString(application);
    values::PushCString(topic);
    return DDESERVER();
  }

  // Every acknowledgement waiting for the client: (positive, second value).
  std::vector<std::pair<bool, UINT_PTR>> Acknowledgements() {
    std::vector<std::pair<bool, UINT_PTR>> found;
    MSG message{};
    while (Received(m_client, WM_DDE_ACK, message)) {
      UINT_PTR status = 0;
      UINT_PTR value = 0;
      EXPECT_TRUE(UnpackDDElParam(WM_DDE_ACK, message.lParam, &status, &value));
      FreeDDElParam(WM_DDE_ACK, message.lParam);
      found.emplace_back((status & 0x8000) != 0, value);
    }
    return found;
  }

  testing::RuntimeHarness m_harness;
  ProcedureWindow m_window;
  HWND m_client = nullptr;
};

TEST_F(DdeServer, ServerObjectsAnswerInitiatesLastRegisteredFirst) {
  EXPECT_EQ(Initiate("Prices", "Today"), nullptr) << "no server object yet";
  Register("Prices", "Today");
  Register("Prices", "");
  EXPECT_EQ(Initiate("Quotes", "Today"), nullptr);
  EXPECT_EQ(Initiate("prices", "TODAY"), m_window.Handle()) << "names compare as atoms do";
  // Both match; the one registered last answers, with the topic the client asked for.
  EXPECT_EQ(Initiate("Prices", "Tomorrow"), m_window.Handle());
  EXPECT_EQ(Initiate(nullptr, nullptr), m_window.Handle()) << "the wildcard initiate";
  EXPECT_EQ(GlobalFindAtomA("Prices"), 0) << "every atom of the exchange has been let go";
}

TEST_F(DdeServer, AnExecuteIsAcknowledgedOnceAfterTheProcedureSawIt) {
  Register("Prices", "Today");
  HWND server = Initiate("Prices", "Today");
  ASSERT_NE(server, nullptr);
  for (const char* command : {"[recalc]", "[refused]"}) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, std::strlen(command) + 1);
    std::memcpy(GlobalLock(block), command, std::strlen(command) + 1);
    GlobalUnlock(block);
    ASSERT_TRUE(PostMessageA(server, WM_DDE_EXECUTE, reinterpret_cast<WPARAM>(m_client),
                             reinterpret_cast<LPARAM>(block)));
    ASSERT_EQ(testing::NextEvent(m_window), Number(windows::EVENT_DDEexecute));
    EXPECT_NE(DDECHANNEL(), 0);
    DDEVALUE();
    EXPECT_EQ(Pop(), command);
    EXPECT_TRUE(Acknowledgements().empty()) << "nothing is acknowledged before the procedure is back";
    bool refuse = std::strcmp(command, "[refused]") == 0;
    if (refuse) windows::RefuseCurrentEvent();
    m_window.Post(Number(windows::EVENT_Notify));
    ASSERT_EQ(testing::NextEvent(m_window), Number(windows::EVENT_Notify));
    auto acks = Acknowledgements();
    ASSERT_EQ(acks.size(), 1u);
    EXPECT_EQ(acks[0].first, !refuse);
    EXPECT_EQ(acks[0].second, reinterpret_cast<UINT_PTR>(block)) << "the command's block comes back";
    GlobalFree(block);
  }
}

TEST_F(DdeServer, PokeRequestAndAdviseBecomeEventsWithTheirItems) {
  Register("Prices", "Today");
  HWND server = Initiate("Prices", "Today");
  ASSERT_NE(server, nullptr);

  HGLOBAL poke = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, sizeof(::DDEPOKE) + 5);
  auto* contents = static_cast<::DDEPOKE*>(GlobalLock(poke));
  contents->fRelease = 1;
  contents->cfFormat = CF_TEXT;
  std::memcpy(contents->Value, "12.5", 5);
  GlobalUnlock(poke);
  ATOM item = GlobalAddAtomA("Total");
  PostMessageA(server, WM_DDE_POKE, reinterpret_cast<WPARAM>(m_client),
               PackDDElParam(WM_DDE_POKE, reinterpret_cast<UINT_PTR>(poke), item));
  ASSERT_EQ(testing::NextEvent(m_window), Number(windows::EVENT_DDEpoke));
  DDEITEM();
  EXPECT_EQ(Pop(), "Total");
  DDEVALUE();
  EXPECT_EQ(Pop(), "12.5");
  std::int32_t channel = DDECHANNEL();

  // A request answered with DDEWRITE while the procedure handles it.
  PostMessageA(server, WM_DDE_REQUEST, reinterpret_cast<WPARAM>(m_client),
               MAKELPARAM(CF_TEXT, GlobalAddAtomA("Total")));
  ASSERT_EQ(testing::NextEvent(m_window), Number(windows::EVENT_DDErequest));
  auto acks = Acknowledgements();
  ASSERT_EQ(acks.size(), 1u) << "the poke was acknowledged once the procedure came back";
  EXPECT_TRUE(acks[0].first);
  EXPECT_EQ(acks[0].second, item);
  GlobalDeleteAtom(static_cast<ATOM>(acks[0].second));
  EXPECT_EQ(GlobalFlags(poke), static_cast<UINT>(GMEM_INVALID_HANDLE))
      << "taken with fRelease: the server freed it";
  values::PushCString("Total");
  values::PushCString("12.5");
  DDEWRITE(channel);
  MSG data{};
  ASSERT_TRUE(Received(m_client, WM_DDE_DATA, data));
  UINT_PTR block = 0;
  UINT_PTR answerItem = 0;
  UnpackDDElParam(WM_DDE_DATA, data.lParam, &block, &answerItem);
  FreeDDElParam(WM_DDE_DATA, data.lParam);
  const auto* answer = static_cast<const DDEDATA*>(GlobalLock(reinterpret_cast<HGLOBAL>(block)));
  EXPECT_EQ(answer->fResponse, 1);
  EXPECT_STREQ(reinterpret_cast<const char*>(answer->Value), "12.5");
  GlobalUnlock(reinterpret_cast<HGLOBAL>(block));
  GlobalFree(reinterpret_cast<HGLOBAL>(block));
  GlobalDeleteAtom(static_cast<ATOM>(answerItem));

  // A request the procedure does not answer is refused with the item's atom.
  PostMessageA(server, WM_DDE_REQUEST, reinterpret_cast<WPARAM>(m_client),
               MAKELPARAM(CF_TEXT, GlobalAddAtomA("Nothing")));
  ASSERT_EQ(testing::NextEvent(m_window), Number(windows::EVENT_DDErequest));
  HGLOBAL options = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, sizeof(DDEADVISE));
  PostMessageA(server, WM_DDE_ADVISE, reinterpret_cast<WPARAM>(m_client),
               PackDDElParam(WM_DDE_ADVISE, reinterpret_cast<UINT_PTR>(options), GlobalAddAtomA("Total")));
  ASSERT_EQ(testing::NextEvent(m_window), Number(windows::EVENT_DDEadvise));
  acks = Acknowledgements();
  ASSERT_EQ(acks.size(), 1u);
  EXPECT_FALSE(acks[0].first);
  EXPECT_EQ(AtomName(static_cast<ATOM>(acks[0].second)), "Nothing");
  GlobalDeleteAtom(static_cast<ATOM>(acks[0].second));
  m_window.Post(Number(windows::EVENT_Notify));
  ASSERT_EQ(testing::NextEvent(m_window), Number(windows::EVENT_Notify));
  acks = Acknowledgements();
  ASSERT_EQ(acks.size(), 1u);
  EXPECT_TRUE(acks[0].first) << "the advise was taken";
  GlobalDeleteAtom(static_cast<ATOM>(acks[0].second));
}

TEST_F(DdeServer, AClientThatTerminatesClosesTheChannelAndIsAnswered) {
  Register("Prices", "Today");
  HWND server = Initiate("Prices", "Today");
  ASSERT_NE(server, nullptr);
  PostMessageA(server, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(m_client), 0);
  ASSERT_EQ(testing::NextEvent(m_window), Number(windows::EVENT_DDEclosed));
  std::int32_t channel = DDECHANNEL();
  EXPECT_NE(channel, 0);
  MSG reply{};
  EXPECT_TRUE(Received(m_client, WM_DDE_TERMINATE, reply));
  values::PushCString("Total");
  values::PushCString("1");
  DDEWRITE(channel);
  EXPECT_EQ(services::ERRORCODE(), 602) << "the conversation has ended";
  DDEWRITE(9999);
  EXPECT_EQ(services::ERRORCODE(), 601);
}

TEST_F(DdeServer, AnEventLeftUnhandledWhenTheWindowClosesIsRefused) {
  Register("Prices", "Today");
  HWND server = Initiate("Prices", "Today");
  ASSERT_NE(server, nullptr);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, 8);
  PostMessageA(server, WM_DDE_EXECUTE, reinterpret_cast<WPARAM>(m_client), reinterpret_cast<LPARAM>(block));
  MSG pending{};
  // The window procedure turns the message into a queued event; the window closes first.
  ASSERT_TRUE(PeekMessageA(&pending, server, WM_DDE_EXECUTE, WM_DDE_EXECUTE, PM_REMOVE));
  DispatchMessageA(&pending);
  m_window.Close();
  auto acks = Acknowledgements();
  ASSERT_EQ(acks.size(), 1u);
  EXPECT_FALSE(acks[0].first);
  EXPECT_EQ(acks[0].second, reinterpret_cast<UINT_PTR>(block));
  MSG terminate{};
  EXPECT_TRUE(Received(m_client, WM_DDE_TERMINATE, terminate))
      << "a closing window ends its conversations";
  GlobalFree(block);
}

}  // namespace
}  // namespace vel::ipc
