#include "tests/support/dde_test_partner.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace vel::testing {
namespace {

PartnerMode g_mode = PartnerMode::kAnswering;
bool g_quitAfterAck = false;
std::map<std::string, std::string> g_items;
std::string g_log;

std::string AtomText(ATOM atom) {
  char name[256] = {};
  UINT length = atom != 0 ? GlobalGetAtomNameA(atom, name, sizeof name) : 0;
  return std::string(name, length);
}

std::string BlockText(HGLOBAL block, SIZE_T skip) {
  SIZE_T size = GlobalSize(block);
  const auto* bytes = static_cast<const char*>(GlobalLock(block));
  if (bytes == nullptr || size <= skip) return {};
  std::string text(bytes + skip, strnlen(bytes + skip, size - skip));
  GlobalUnlock(block);
  return text;
}

WORD Status(bool positive) {
  DDEACK ack{};
  ack.fAck = positive ? 1 : 0;
  WORD word = 0;
  std::memcpy(&word, &ack, sizeof word);
  return word;
}

void Acknowledge(HWND self, HWND client, bool positive, UINT_PTR value) {
  PostMessageA(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(self),
               PackDDElParam(WM_DDE_ACK, Status(positive), value));
}

void SendData(HWND self, HWND client, ATOM item, const std::string& value, bool response) {
  HGLOBAL block =
      GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, sizeof(DDEDATA) + value.size() + 1);
  auto* data = static_cast<DDEDATA*>(GlobalLock(block));
  data->fResponse = response ? 1 : 0;
  data->fRelease = 1;
  data->cfFormat = CF_TEXT;
  std::memcpy(data->Value, value.data(), value.size());
  GlobalUnlock(block);
  PostMessageA(client, WM_DDE_DATA, reinterpret_cast<WPARAM>(self),
               PackDDElParam(WM_DDE_DATA, reinterpret_cast<UINT_PTR>(block), item));
}

// A partner that answers nothing still owns what a posted message handed it (the atoms, a poke's
// data, an advise's options): a receiver that dropped them would leave them in the program's
// tables for good.
void ReleaseUnanswered(UINT message, LPARAM lParam) {
  UINT_PTR first = 0;
  UINT_PTR second = 0;
  switch (message) {
    case WM_DDE_REQUEST:
    case WM_DDE_UNADVISE: GlobalDeleteAtom(HIWORD(lParam)); return;
    case WM_DDE_POKE:
    case WM_DDE_ADVISE:
      if (!UnpackDDElParam(message, lParam, &first, &second)) return;
      FreeDDElParam(message, lParam);
      GlobalFree(reinterpret_cast<HGLOBAL>(first));
      GlobalDeleteAtom(static_cast<ATOM>(second));
      return;
    // An execute's commands stay the client's; an acknowledgement carries nothing to a deaf
    // partner, which asks nothing.
    default: return;
  }
}

LRESULT CALLBACK PartnerProcedure(HWND self, UINT message, WPARAM wParam, LPARAM lParam) {
  auto client = reinterpret_cast<HWND>(wParam);
  // A deaf partner opens conversations and then hears nothing.
  if (g_mode == PartnerMode::kDeaf && message > WM_DDE_INITIATE && message <= WM_DDE_LAST) {
    ReleaseUnanswered(message, lParam);
    return 0;
  }
  switch (message) {
    case WM_DDE_INITIATE: {
      std::string application = AtomText(LOWORD(lParam));
      std::string topic = AtomText(HIWORD(lParam));
      if (g_mode == PartnerMode::kSilent || (!application.empty() && application != "Partner")) return 0;
      g_log += "initiate " + application + "|" + topic + ";";
      SendMessageA(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(self),
                   MAKELPARAM(GlobalAddAtomA("Partner"), GlobalAddAtomA("Test")));
      return 0;
    }
    case WM_DDE_EXECUTE: {
      auto commands = reinterpret_cast<HGLOBAL>(lParam);
      std::string command = BlockText(commands, 0);
      g_log += "execute " + command + ";";
      Acknowledge(self, client, command.rfind("fail", 0) != 0, reinterpret_cast<UINT_PTR>(commands));
      if (command == "quit") g_quitAfterAck = true;
      return 0;
    }
    case WM_DDE_POKE: {
      UINT_PTR block = 0;
      UINT_PTR item = 0;
      UnpackDDElParam(WM_DDE_POKE, lParam, &block, &item);
      FreeDDElParam(WM_DDE_POKE, lParam);
      std::string value = BlockText(reinterpret_cast<HGLOBAL>(block), 4);
      g_items[AtomText(static_cast<ATOM>(item))] = value;
      g_log += "poke " + AtomText(static_cast<ATOM>(item)) + "=" + value + ";";
      GlobalFree(reinterpret_cast<HGLOBAL>(block));
      Acknowledge(self, client, true, item);
      return 0;
    }
    case WM_DDE_REQUEST: {
      auto item = static_cast<ATOM>(HIWORD(lParam));
      std::string name = AtomText(item);
      if (name == "log")
        SendData(self, client, item, g_log, true);
      else if (g_items.count(name) != 0)
        SendData(self, client, item, g_items[name], true);
      else
        Acknowledge(self, client, false, item);
      return 0;
    }
    case WM_DDE_ADVISE: {
      UINT_PTR options = 0;
      UINT_PTR item = 0;
      UnpackDDElParam(WM_DDE_ADVISE, lParam, &options, &item);
      FreeDDElParam(WM_DDE_ADVISE, lParam);
      GlobalFree(reinterpret_cast<HGLOBAL>(options));
      // The update's atom is taken before the acknowledgement hands the item's back: the
      // client may delete that at once, on its own thread.
      ATOM update = GlobalAddAtomA(AtomText(static_cast<ATOM>(item)).c_str());
      Acknowledge(self, client, true, item);
      SendData(self, client, update, "advised", false);
      return 0;
    }
    case WM_DDE_ACK: {
      // The client's acknowledgement of data it was asked to acknowledge: nothing to keep.
      UINT_PTR status = 0;
      UINT_PTR value = 0;
      if (UnpackDDElParam(WM_DDE_ACK, lParam, &status, &value)) {
        FreeDDElParam(WM_DDE_ACK, lParam);
        GlobalDeleteAtom(static_cast<ATOM>(value));
      }
      return 0;
    }
    case WM_DDE_TERMINATE:
      g_log += "terminate;";
      PostMessageA(client, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(self), 0);
      return 0;
    // The runtime's drag messages, as a window that takes "~Item" answers them.
    case 0x2417: {
      if (wParam == 0) return 1;
      std::string offered = AtomText(static_cast<ATOM>(wParam));
      bool named = reinterpret_cast<HWND>(lParam) == self;
      g_log += "query " + offered + (named ? " named" : "") + ";";
      return named && offered == "~Item" ? 1 : 0;
    }
    case 0x2418: g_log += "drop " + std::to_string(wParam) + ";"; return 0;
    case 0x2419: return lParam;
    case 0x241A:
      g_log += "text " + AtomText(static_cast<ATOM>(wParam)) +
               (reinterpret_cast<HWND>(lParam) == self ? " named" : "") + ";";
      return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(self, message, wParam, lParam);
  }
}

}  // namespace

HWND CreateDdePartner(PartnerMode mode) {
  g_mode = mode;
  g_quitAfterAck = false;
  g_items.clear();
  g_log.clear();
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = PartnerProcedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "DdePartner";
  RegisterClassA(&windowClass);
  return CreateWindowExA(0, "DdePartner", "DDE partner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                         windowClass.hInstance, nullptr);
}

void RunDdePartner() {
  MSG message{};
  while (!g_quitAfterAck && GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
}

}  // namespace vel::testing
