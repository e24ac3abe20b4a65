// DDE between two programs over a private session bus: this test program and dde_partner, a
// plain Win32-style server started for each test. Waits run on the headless display's
// virtual clock, which must not jump over the partner's work.

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <cstring>
#include <string>

#include "platform/display/headless/headless_display.h"
#include "platform/user/foreign_windows.h"
#include "platform/user/win32_errors.h"
#include "tests/support/session_bus.h"
#include "win32.h"

namespace vel::platform {
namespace {

using vel::testing::ChildProgram;

[[maybe_unused]] const bool g_privateBus = vel::testing::UsePrivateSessionBus();

// What the client window was sent while a broadcast went out.
struct Answers {
  HWND server = nullptr;
  std::string application;
  std::string topic;
};
Answers g_answers;

std::string AtomText(UINT_PTR atom) {
  char name[256] = {};
  UINT length = GlobalGetAtomNameA(static_cast<ATOM>(atom), name, sizeof name);
  return std::string(name, length);
}

LRESULT CALLBACK ClientProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DDE_ACK) {
    g_answers.server = reinterpret_cast<HWND>(wParam);
    g_answers.application = AtomText(LOWORD(lParam));
    g_answers.topic = AtomText(HIWORD(lParam));
    GlobalDeleteAtom(LOWORD(lParam));
    GlobalDeleteAtom(HIWORD(lParam));
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// Waits on the platform clock for a message to `window` in [first, last], as long as `limit`
// milliseconds of that clock last. A timer marks the end, so the virtual clock may jump there,
// but only once nothing is owed by another program.
bool WaitFor(HWND window, UINT first, UINT last, DWORD limit, MSG& message) {
  DWORD start = GetTickCount();
  SetTimer(window, 77, limit, nullptr);
  for (;;) {
    if (PeekMessageA(&message, window, first, last, PM_REMOVE)) break;
    if (GetTickCount() - start >= limit) {
      KillTimer(window, 77);
      return false;
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, limit, QS_POSTMESSAGE | QS_SENDMESSAGE | QS_TIMER);
  }
  KillTimer(window, 77);
  return true;
}

class ProgramBus : public ::testing::Test {
 protected:
  void SetUp() override {
    if (CurrentForeignWindows() == nullptr) GTEST_SKIP() << "no message bus daemon to start";
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ClientProcedure;
    windowClass.lpszClassName = "BusTestClient";
    RegisterClassA(&windowClass);
    m_client = CreateWindowExA(0, "BusTestClient", "client", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               nullptr, nullptr);
    g_answers = {};
  }
  void TearDown() override {
    if (m_client != nullptr) DestroyWindow(m_client);
  }

  // Starts the partner and waits until it is on the bus.
  std::unique_ptr<ChildProgram> StartPartner(const std::vector<std::string>& arguments = {}) {
    auto partner = std::make_unique<ChildProgram>(VEL_DDE_PARTNER, arguments);
    EXPECT_EQ(partner->ReadLine(), "ready bus");
    return partner;
  }

  HWND Initiate(const char* application) {
    ATOM applicationAtom = GlobalAddAtomA(application);
    ATOM topicAtom = GlobalAddAtomA("Test");
    SendMessageA(HWND_BROADCAST, WM_DDE_INITIATE, reinterpret_cast<WPARAM>(m_client),
                 MAKELPARAM(applicationAtom, topicAtom));
    GlobalDeleteAtom(applicationAtom);
    GlobalDeleteAtom(topicAtom);
    return g_answers.server;
  }

  // Posts an execute and returns whether it was acknowledged positively; the block must come
  // back as it left.
  bool Execute(HWND server, const char* command) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, std::strlen(command) + 1);
    std::memcpy(GlobalLock(block), command, std::strlen(command) + 1);
    GlobalUnlock(block);
    EXPECT_TRUE(PostMessageA(server, WM_DDE_EXECUTE, reinterpret_cast<WPARAM>(m_client),
                             reinterpret_cast<LPARAM>(block)));
    MSG reply{};
    EXPECT_TRUE(WaitFor(m_client, WM_DDE_ACK, WM_DDE_ACK, 5000, reply));
    UINT_PTR status = 0;
    UINT_PTR returned = 0;
    EXPECT_TRUE(UnpackDDElParam(WM_DDE_ACK, reply.lParam, &status, &returned));
    FreeDDElParam(WM_DDE_ACK, reply.lParam);
    EXPECT_EQ(returned, reinterpret_cast<UINT_PTR>(block))
        << "the command block comes back as the client's own";
    GlobalFree(block);
    return (status & 0x8000) != 0;
  }

  // Requests an item; its value, or "<refused>".
  std::string Request(HWND server, const char* item) {
    PostMessageA(server, WM_DDE_REQUEST, reinterpret_cast<WPARAM>(m_client),
                 MAKELPARAM(CF_TEXT, GlobalAddAtomA(item)));
    MSG reply{};
    if (!WaitFor(m_client, WM_DDE_ACK, WM_DDE_DATA, 5000, reply)) return "<no answer>";
    UINT_PTR low = 0;
    UINT_PTR atom = 0;
    UnpackDDElParam(reply.message, reply.lParam, &low, &atom);
    FreeDDElParam(reply.message, reply.lParam);
    EXPECT_EQ(AtomText(atom), item);
    GlobalDeleteAtom(static_cast<ATOM>(atom));
    if (reply.message == WM_DDE_ACK) return "<refused>";
    auto block = reinterpret_cast<HGLOBAL>(low);
    const auto* data = static_cast<const DDEDATA*>(GlobalLock(block));
    EXPECT_EQ(data->fResponse, 1);
    std::string value(reinterpret_cast<const char*>(data->Value));
    GlobalUnlock(block);
    GlobalFree(block);
    return value;
  }

  HWND m_client = nullptr;
};

TEST_F(ProgramBus, AnInitiateBroadcastReachesTheOtherProgramAndItsAnswerIsMadeLocal) {
  auto partner = StartPartner();
  HWND server = Initiate("Partner");
  ASSERT_NE(server, nullptr);
  EXPECT_TRUE(IsForeignHandle(server));
  EXPECT_TRUE(IsWindow(server));
  DWORD process = 0;
  GetWindowThreadProcessId(server, &process);
  EXPECT_EQ(process, static_cast<DWORD>(partner->Pid()));
  EXPECT_EQ(g_answers.application, "Partner");
  EXPECT_EQ(g_answers.topic, "Test");
  // The atoms went back and forth by name; every reference taken here has been let go.
  EXPECT_EQ(GlobalFindAtomA("Partner"), 0);
  EXPECT_EQ(GlobalFindAtomA("Test"), 0);
  g_answers = {};
  EXPECT_EQ(Initiate("Nobody"), nullptr);
  // Properties set on another program's window are this program's own.
  EXPECT_TRUE(SetPropA(server, "lo_this", reinterpret_cast<HANDLE>(uintptr_t{42})));
  EXPECT_EQ(GetPropA(server, "lo_this"), reinterpret_cast<HANDLE>(uintptr_t{42}));
}

TEST_F(ProgramBus, ExecutePokeAndRequestTravelWithTheirBlocksAndAtoms) {
  auto partner = StartPartner();
  HWND server = Initiate("Partner");
  ASSERT_NE(server, nullptr);
  DWORD before = GetTickCount();
  EXPECT_TRUE(Execute(server, "[open(\"x\")]"));
  EXPECT_LT(GetTickCount() - before, 5000u)
      << "the virtual clock waited for the partner instead of timing out";
  EXPECT_FALSE(Execute(server, "fail please"));

  HGLOBAL poke = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, sizeof(DDEPOKE) + 8);
  auto* contents = static_cast<DDEPOKE*>(GlobalLock(poke));
  contents->fRelease = 1;
  contents->cfFormat = CF_TEXT;
  std::memcpy(contents->Value, "Velmora", 8);
  GlobalUnlock(poke);
  ASSERT_TRUE(
      PostMessageA(server, WM_DDE_POKE, reinterpret_cast<WPARAM>(m_client),
                   PackDDElParam(WM_DDE_POKE, reinterpret_cast<UINT_PTR>(poke), GlobalAddAtomA("name"))));
  MSG reply{};
  ASSERT_TRUE(WaitFor(m_client, WM_DDE_ACK, WM_DDE_ACK, 5000, reply));
  UINT_PTR status = 0;
  UINT_PTR atom = 0;
  UnpackDDElParam(WM_DDE_ACK, reply.lParam, &status, &atom);
  FreeDDElParam(WM_DDE_ACK, reply.lParam);
  EXPECT_NE(status & 0x8000, 0u);
  EXPECT_EQ(AtomText(atom), "name");
  GlobalDeleteAtom(static_cast<ATOM>(atom));
  // The partner freed its copy of the poked block (fRelease), and with it this program's: the
  // notice travels ahead of the acknowledgement.
  EXPECT_EQ(GlobalFlags(poke), static_cast<UINT>(GMEM_INVALID_HANDLE));

  EXPECT_EQ(Request(server, "name"), "Velmora");
  EXPECT_EQ(Request(server, "missing"), "<refused>");
  EXPECT_NE(Request(server, "log").find("execute [open(\"x\")];execute fail please;poke name=Velmora;"),
            std::string::npos);
}

TEST_F(ProgramBus, APartnerThatIsKilledNamesNoWindowAndPostsToItFail) {
  auto partner = StartPartner();
  HWND server = Initiate("Partner");
  ASSERT_NE(server, nullptr);
  partner->Kill();
  EXPECT_FALSE(IsWindow(server));
  EXPECT_FALSE(PostMessageA(server, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(m_client), 0));
  EXPECT_EQ(SendMessageA(server, WM_DDE_ACK, reinterpret_cast<WPARAM>(m_client), 0), 0);
  // A wait for an answer that can never come ends on the virtual clock.
  MSG reply{};
  DWORD before = GetTickCount();
  EXPECT_FALSE(WaitFor(m_client, WM_DDE_ACK, WM_DDE_ACK, 1000, reply));
  EXPECT_GE(GetTickCount() - before, 1000u);
}

TEST_F(ProgramBus, OnlyMessagesWhoseParametersCanTravelAreCarried) {
  auto partner = StartPartner();
  HWND server = Initiate("Partner");
  ASSERT_NE(server, nullptr);
  SetLastError(0);
  EXPECT_EQ(SendMessageA(server, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("x")), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(PostMessageA(server, 0x241B, 0, 0x1234)) << "a runtime-private message with an address";
  EXPECT_TRUE(IsWindow(server));
}

// The runtime's drag messages between programs: the offered identifier and the handed-over
// text travel as texts, the receiver's window comes back as its own, and the sender keeps the
// atoms it lent.
TEST_F(ProgramBus, DragQueriesAndDroppedTextTravelAsTextsWithTheReceiversOwnWindow) {
  auto partner = StartPartner();
  HWND server = Initiate("Partner");
  ASSERT_NE(server, nullptr);
  const auto named = reinterpret_cast<LPARAM>(server);
  EXPECT_EQ(SendMessageA(server, 0x2417, 0, 0), 1) << "takes drops at all";
  ATOM item = GlobalAddAtomA("~Item");
  ATOM plain = GlobalAddAtomA("Item");
  EXPECT_EQ(SendMessageA(server, 0x2417, item, named), 1);
  EXPECT_EQ(SendMessageA(server, 0x2417, plain, named), 0);
  EXPECT_EQ(SendMessageA(server, 0x2417, item, 0), 0) << "no window named: not a query from another program";
  // The atoms were lent: they are still this program's, and go when it deletes them.
  EXPECT_EQ(GlobalFindAtomA("~Item"), item);
  GlobalDeleteAtom(item);
  GlobalDeleteAtom(plain);
  EXPECT_EQ(GlobalFindAtomA("~Item"), 0);
  EXPECT_EQ(GlobalFindAtomA("Item"), 0);

  ATOM text = GlobalAddAtomA("Second row, with a comma");
  EXPECT_EQ(SendMessageA(server, 0x241A, text, named), 0);
  GlobalDeleteAtom(text);
  EXPECT_EQ(SendMessageA(server, 0x2419, 0, MAKELPARAM(640, 480)), MAKELPARAM(640, 480));
  SendMessageA(server, 0x2418, 1, 0);
  EXPECT_NE(Request(server, "log").find("query ~Item named;query Item named;query ~Item;"
                                        "text Second row, with a comma named;drop 1;"),
            std::string::npos)
      << Request(server, "log");
  // An atom of no text offers nothing rather than a number that means nothing over there.
  EXPECT_EQ(SendMessageA(server, 0x2417, 0xC123, named), 1) << "a zero atom asks only whether it takes drops";
}

TEST_F(ProgramBus, DragMessagesToAKilledPartnerFailAtOnce) {
  auto partner = StartPartner();
  HWND server = Initiate("Partner");
  ASSERT_NE(server, nullptr);
  partner->Kill();
  ATOM item = GlobalAddAtomA("~Item");
  EXPECT_EQ(SendMessageA(server, 0x2417, item, reinterpret_cast<LPARAM>(server)), 0);
  EXPECT_EQ(SendMessageA(server, 0x2418, 1, 0), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  GlobalDeleteAtom(item);
  EXPECT_EQ(GlobalFindAtomA("~Item"), 0) << "the lent atom stays the sender's to delete";
}

TEST_F(ProgramBus, AProgramStartedWithWinExecIsWaitedForUntilItSettles) {
  // The partner under another name on PATH, started the way the bridge starts its server.
  char directory[] = "/tmp/velpath.XXXXXX";
  ASSERT_NE(mkdtemp(directory), nullptr);
  std::string link = std::string(directory) + "/BUSPARTNER.EXE";
  ASSERT_EQ(symlink(VEL_DDE_PARTNER, link.c_str()), 0);
  std::string path = std::string(directory) + ":" + getenv("PATH");
  setenv("PATH", path.c_str(), 1);
  ASSERT_GT(WinExec("BUSPARTNER.EXE", SW_HIDE), 31u);
  HWND server = nullptr;
  DWORD before = GetTickCount();
  // Retries every 500 ms of the virtual clock: without the wait for the program to settle,
  // all twenty would pass before it had even started.
  for (int attempt = 0; attempt < 20 && server == nullptr; ++attempt) {
    server = Initiate("Partner");
    MSG ignored{};
    if (server == nullptr) WaitFor(m_client, WM_USER, WM_USER, 500, ignored);
  }
  ASSERT_NE(server, nullptr);
  EXPECT_LT(GetTickCount() - before, 10000u);
  DWORD process = 0;
  GetWindowThreadProcessId(server, &process);
  ASSERT_NE(process, 0u);
  kill(static_cast<pid_t>(process), SIGKILL);
  unlink(link.c_str());
  rmdir(directory);
}

TEST(ProgramBusAbsent, WithoutASessionBusAProgramRunsOnItsOwn) {
  ChildProgram alone("env", {"DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/bus",
                             "XDG_RUNTIME_DIR=/nonexistent", "VELMORA_DISPLAY=headless", VEL_DDE_PARTNER});
  EXPECT_EQ(alone.ReadLine(), "ready alone");
}

}  // namespace
}  // namespace vel::platform
