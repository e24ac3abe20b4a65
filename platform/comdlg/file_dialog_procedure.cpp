// Working the open and save dialogs: the folder list (the path from the root, then the folders
// inside), the file list filtered by the chosen type, the name typed or picked, the places, and
// OK with what it means where the focus is; the caller's hook sees each message first.

#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstring>

#include "platform/comdlg/file_dialog.h"
#include "platform/kernel/ansi_text.h"
#include "platform/user/dialog_box.h"

namespace vel::platform {
namespace {

constexpr int kFolderIndent = 8;
constexpr WORD kListSelectionChange = 0;  // CD_LBSELCHANGE

FileDialog* StateOf(HWND dialog) { return reinterpret_cast<FileDialog*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

std::string ItemText(HWND dialog, int id) {
  char text[1024] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

bool HasWildcard(const std::string& text) { return text.find_first_of("*?") != std::string::npos; }

void FillFolders(HWND dialog, FileDialog& state) {
  HWND list = GetDlgItem(dialog, lst2);
  state.folderPaths.clear();
  state.folderLevels.clear();
  if (list == nullptr) return;
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  auto add = [&](const std::string& label, const std::string& path, int level) {
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
    state.folderPaths.push_back(path);
    state.folderLevels.push_back(level);
  };
  // The path from the root down to the folder shown, each an open folder.
  add("/", "/", 0);
  int level = 1;
  std::string path;
  size_t at = 1;
  while (at < state.directory.size()) {
    size_t end = state.directory.find('/', at);
    if (end == std::string::npos) end = state.directory.size();
    std::string part = state.directory.substr(at, end - at);
    path += "/" + part;
    add(Utf8ToAnsi(part), path, level++);
    at = end + 1;
  }
  int current = static_cast<int>(state.folderPaths.size()) - 1;
  for (const DirectoryEntry& entry : state.entries) {
    if (entry.isDirectory) add(entry.ansiName, JoinPath(state.directory, entry.name), level);
  }
  SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(current), 0);
}

void FillFiles(HWND dialog, FileDialog& state) {
  HWND list = GetDlgItem(dialog, lst1);
  if (list == nullptr) return;
  // One redraw for the whole list, however many files the folder holds.
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  SendMessageA(list, LB_INITSTORAGE, state.entries.size(), 0);
  for (size_t i = 0; i < state.entries.size(); ++i) {
    const DirectoryEntry& entry = state.entries[i];
    if (entry.isDirectory || !MatchesFilter(entry.name, state.patterns)) continue;
    // The entries come sorted; appending keeps them so without a search per item.
    auto index = SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(entry.ansiName.c_str()));
    SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(i));
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

void Refresh(HWND dialog, FileDialog& state) {
  state.entries = ReadDirectory(state.directory);
  SetDlgItemTextA(dialog, stc1, Utf8ToAnsi(state.directory).c_str());
  FillFolders(dialog, state);
  FillFiles(dialog, state);
}

void ChangeDirectory(HWND dialog, FileDialog& state, const std::string& directory) {
  if (access(directory.c_str(), R_OK | X_OK) != 0) {
    DialogMessage(dialog, Utf8ToAnsi(directory) + "\nThis folder cannot be opened.", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  state.directory = NormalPath(directory);
  Refresh(dialog, state);
  std::string name = ItemText(dialog, edt1);
  if (name.empty() || HasWildcard(name)) SetDlgItemTextA(dialog, edt1, state.patterns.c_str());
}

void OpenSelectedFolder(HWND dialog, FileDialog& state) {
  auto index = static_cast<int>(SendDlgItemMessageA(dialog, lst2, LB_GETCURSEL, 0, 0));
  if (index < 0 || index >= static_cast<int>(state.folderPaths.size())) return;
  const std::string& path = state.folderPaths[static_cast<size_t>(index)];
  if (AnsiToUtf8(Utf8ToAnsi(path)) != path) return;  // a folder the program could not name
  ChangeDirectory(dialog, state, path);
}

// The file entry behind a row of the file list, null when the row names something the program
// could not be given.
const DirectoryEntry* FileAt(HWND dialog, const FileDialog& state, int row) {
  auto data = SendDlgItemMessageA(dialog, lst1, LB_GETITEMDATA, static_cast<WPARAM>(row), 0);
  if (data < 0 || static_cast<size_t>(data) >= state.entries.size()) return nullptr;
  const DirectoryEntry& entry = state.entries[static_cast<size_t>(data)];
  return entry.representable ? &entry : nullptr;
}

std::vector<int> SelectedRows(HWND dialog) {
  HWND list = GetDlgItem(dialog, lst1);
  if (list == nullptr) return {};
  if (!(GetWindowLongPtrA(list, GWL_STYLE) & LBS_EXTENDEDSEL)) {
    auto row = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
    return row >= 0 ? std::vector<int>{row} : std::vector<int>{};
  }
  auto count = static_cast<int>(SendMessageA(list, LB_GETSELCOUNT, 0, 0));
  std::vector<int> rows(static_cast<size_t>(std::max(count, 0)));
  if (count > 0) SendMessageA(list, 0x0191 /* LB_GETSELITEMS */, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(rows.data()));
  return rows;
}

void FileSelectionChanged(HWND dialog, FileDialog& state) {
  std::vector<int> rows = SelectedRows(dialog);
  std::string names;
  for (int row : rows) {
    const DirectoryEntry* entry = FileAt(dialog, state, row);
    if (entry == nullptr) continue;
    names += (names.empty() ? "" : " ") + entry->ansiName;
  }
  if (!names.empty()) SetDlgItemTextA(dialog, edt1, names.c_str());
  if (!rows.empty()) {
    state.hook.Offer(dialog, state.selectionChangedMessage, lst1, MAKELPARAM(rows.front(), kListSelectionChange));
  }
}

// Several files picked in a multiple-selection list, with the name box still showing them.
bool AcceptSeveral(HWND dialog, FileDialog& state, const std::string& typed) {
  std::vector<int> rows = SelectedRows(dialog);
  if (rows.size() < 2) return false;
  std::vector<std::string> names;
  std::string shown;
  for (int row : rows) {
    const DirectoryEntry* entry = FileAt(dialog, state, row);
    if (entry == nullptr) return false;
    names.push_back(entry->name);
    shown += (shown.empty() ? "" : " ") + entry->ansiName;
  }
  if (shown != typed) return false;
  if (StoreFileNames(state, state.directory, names)) state.accepted = true;
  return true;
}

void PressOk(HWND dialog, FileDialog& state) {
  if (GetFocus() == GetDlgItem(dialog, lst2)) {
    OpenSelectedFolder(dialog, state);
    return;
  }
  std::string typed = ItemText(dialog, edt1);
  typed.erase(0, typed.find_first_not_of(' '));
  typed.erase(typed.find_last_not_of(' ') + 1);
  if (typed.empty()) return;
  if (HasWildcard(typed)) {
    state.patterns = typed;
    FillFiles(dialog, state);
    return;
  }
  std::string path = NormalPath(JoinPath(state.directory, AnsiToUtf8(typed)));
  struct stat info {};
  if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    ChangeDirectory(dialog, state, path);
    return;
  }
  auto filter = SendDlgItemMessageA(dialog, cmb1, CB_GETCURSEL, 0, 0);
  if (filter >= 0) state.request->nFilterIndex = static_cast<DWORD>(filter + 1);
  if (IsDlgButtonChecked(dialog, chx1) == BST_CHECKED) {
    state.request->Flags |= OFN_READONLY;
  } else {
    state.request->Flags &= ~static_cast<DWORD>(OFN_READONLY);
  }
  if (AcceptSeveral(dialog, state, typed) || AcceptFileName(dialog, state, typed)) {
    EndDialog(dialog, state.accepted ? IDOK : IDABORT);
  }
}

// A row of the folder list: indented by its depth, with a folder drawn before the name (open
// for the folders on the path, closed for those inside).
void DrawFolderRow(const FileDialog& state, const DRAWITEMSTRUCT& item) {
  if (item.itemID >= state.folderPaths.size()) return;
  HDC dc = item.hDC;
  bool selected = (item.itemState & ODS_SELECTED) != 0;
  RECT row = item.rcItem;
  FillRect(dc, &row, GetSysColorBrush(COLOR_WINDOW));
  int level = state.folderLevels[item.itemID];
  int x = row.left + 2 + level * kFolderIndent;
  int middle = (row.top + row.bottom) / 2;
  bool open = item.itemID < state.folderPaths.size() && state.directory.rfind(state.folderPaths[item.itemID], 0) == 0;
  RECT tab{x, middle - 5, x + 5, middle - 3};
  RECT body{x, middle - 3, x + 13, middle + 5};
  HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 128));
  FillRect(dc, &body, yellow);
  FillRect(dc, &tab, yellow);
  DeleteObject(yellow);
  FrameRect(dc, &body, GetSysColorBrush(COLOR_BTNTEXT));
  if (open) {
    RECT flap{x + 2, middle, x + 13, middle + 1};
    FillRect(dc, &flap, GetSysColorBrush(COLOR_BTNTEXT));
  }
  char text[512] = {};
  SendMessageA(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text));
  RECT area{x + 17, row.top, row.right, row.bottom};
  SIZE extent{};
  GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &extent);
  RECT band{area.left - 1, row.top, std::min<LONG>(area.left + extent.cx + 1, row.right), row.bottom};
  if (selected) FillRect(dc, &band, GetSysColorBrush(COLOR_HIGHLIGHT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  DrawTextA(dc, text, -1, &area, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &band);
}

void Initialise(HWND dialog, FileDialog& state) {
  OPENFILENAMEA& request = *state.request;
  if (request.lpstrTitle != nullptr) SetWindowTextA(dialog, request.lpstrTitle);
  state.filters = ParseFilters(request.lpstrFilter);
  for (const FileFilter& filter : state.filters) {
    SendDlgItemMessageA(dialog, cmb1, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(filter.description.c_str()));
  }
  size_t chosen = request.nFilterIndex > 0 ? request.nFilterIndex - 1 : 0;
  if (chosen >= state.filters.size()) chosen = 0;
  if (!state.filters.empty()) {
    SendDlgItemMessageA(dialog, cmb1, CB_SETCURSEL, chosen, 0);
    state.patterns = state.filters[chosen].patterns;
  } else {
    state.patterns = "*.*";
  }
  state.places = Places();
  for (const Place& place : state.places) {
    SendDlgItemMessageA(dialog, cmb2, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToAnsi(place.label).c_str()));
  }
  // The folder to start in: the one asked for, the one the given name is in, else the
  // current one.
  std::string start;
  std::string initialName = request.lpstrFile != nullptr ? std::string(request.lpstrFile, strnlen(request.lpstrFile, request.nMaxFile)) : "";
  if (request.lpstrInitialDir != nullptr && request.lpstrInitialDir[0] != '\0') start = AnsiToUtf8(request.lpstrInitialDir);
  size_t slash = initialName.rfind('/');
  if (slash != std::string::npos) {
    if (start.empty()) start = AnsiToUtf8(initialName.substr(0, slash == 0 ? 1 : slash));
    initialName = initialName.substr(slash + 1);
  }
  if (start.empty()) {
    char current[PATH_MAX] = {};
    start = getcwd(current, sizeof current) != nullptr ? current : "/";
  }
  if (access(start.c_str(), R_OK | X_OK) != 0) start = "/";
  state.directory = NormalPath(start);
  Refresh(dialog, state);
  SetDlgItemTextA(dialog, edt1, initialName.empty() ? state.patterns.c_str() : initialName.c_str());
  if (!(request.Flags & OFN_SHOWHELP)) ShowWindow(GetDlgItem(dialog, pshHelp), SW_HIDE);
  if (request.Flags & OFN_HIDEREADONLY) ShowWindow(GetDlgItem(dialog, chx1), SW_HIDE);
  CheckDlgButton(dialog, chx1, (request.Flags & OFN_READONLY) ? BST_CHECKED : BST_UNCHECKED);
}

void Command(HWND dialog, FileDialog& state, int id, int code) {
  switch (id) {
    case lst1:
      if (code == LBN_SELCHANGE) FileSelectionChanged(dialog, state);
      if (code == LBN_DBLCLK) PressOk(dialog, state);
      return;
    case lst2:
      if (code == LBN_DBLCLK) OpenSelectedFolder(dialog, state);
      return;
    case cmb1:
      if (code == CBN_SELCHANGE) {
        auto chosen = static_cast<size_t>(SendDlgItemMessageA(dialog, cmb1, CB_GETCURSEL, 0, 0));
        if (chosen < state.filters.size()) {
          state.patterns = state.filters[chosen].patterns;
          std::string name = ItemText(dialog, edt1);
          if (name.empty() || HasWildcard(name)) SetDlgItemTextA(dialog, edt1, state.patterns.c_str());
          FillFiles(dialog, state);
        }
      }
      return;
    case cmb2:
      if (code == CBN_SELCHANGE) {
        auto chosen = static_cast<size_t>(SendDlgItemMessageA(dialog, cmb2, CB_GETCURSEL, 0, 0));
        if (chosen < state.places.size()) ChangeDirectory(dialog, state, state.places[chosen].directory);
      }
      return;
    case IDOK: PressOk(dialog, state); return;
    case IDCANCEL: EndDialog(dialog, IDCANCEL); return;
    default: return;
  }
}

INT_PTR CALLBACK FileDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* state = reinterpret_cast<FileDialog*>(lParam);
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    Initialise(dialog, *state);
    // The hook sees the request, then the focus goes to the name unless it moved it.
    state->hook.Offer(dialog, message, wParam, reinterpret_cast<LPARAM>(state->request));
    if (HWND name = GetDlgItem(dialog, edt1); name != nullptr && IsWindowVisible(name)) {
      SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(name), TRUE);
    }
    return FALSE;
  }
  FileDialog* state = StateOf(dialog);
  if (state == nullptr) return FALSE;
  if (state->hook.Offer(dialog, message, wParam, lParam)) return TRUE;
  switch (message) {
    case WM_COMMAND: Command(dialog, *state, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (item->CtlID != lst2) return FALSE;
      DrawFolderRow(*state, *item);
      return TRUE;
    }
    default: return FALSE;
  }
}

}  // namespace

std::vector<FileFilter> ParseFilters(const char* filter) {
  std::vector<FileFilter> filters;
  if (filter == nullptr) return filters;
  // Pairs of zero-terminated strings, ended by an empty one; a pair cut short is dropped.
  for (const char* at = filter; *at != '\0';) {
    FileFilter entry;
    entry.description = at;
    at += entry.description.size() + 1;
    if (*at == '\0') break;
    entry.patterns = at;
    at += entry.patterns.size() + 1;
    filters.push_back(std::move(entry));
  }
  return filters;
}

BOOL RunFileDialog(OPENFILENAMEA* request, bool save) {
  SetCommonDialogError(0);
  if (request == nullptr || (request->lStructSize != sizeof(OPENFILENAMEA) && request->lStructSize != OPENFILENAME_SIZE_VERSION_400A)) {
    SetCommonDialogError(CDERR_STRUCTSIZE);
    return FALSE;
  }
  if ((request->Flags & OFN_ENABLEHOOK) && request->lpfnHook == nullptr) {
    SetCommonDialogError(CDERR_NOHOOK);
    return FALSE;
  }
  std::optional<DialogTemplate> dialogTemplate;
  if (request->Flags & OFN_ENABLETEMPLATE) {
    dialogTemplate = CallerTemplate(request->hInstance, request->lpTemplateName);
    if (!dialogTemplate) return FALSE;
  } else {
    dialogTemplate = StandardFileTemplate(save);
  }
  for (DialogItemTemplate& item : dialogTemplate->items) {
    if (item.id == lst1 && (request->Flags & OFN_ALLOWMULTISELECT)) item.style |= LBS_EXTENDEDSEL;
  }
  dialogTemplate->style &= ~WS_VISIBLE;
  FileDialog state;
  state.request = request;
  state.save = save;
  if (request->Flags & OFN_ENABLEHOOK) state.hook.procedure = request->lpfnHook;
  state.fileOkMessage = RegisterWindowMessageA(FILEOKSTRINGA);
  state.selectionChangedMessage = RegisterWindowMessageA(LBSELCHSTRINGA);
  HWND dialog = CreateDialogFromTemplate(request->hInstance, *dialogTemplate, request->hwndOwner, FileDialogProcedure,
                                         reinterpret_cast<LPARAM>(&state));
  if (dialog == nullptr) {
    SetCommonDialogError(CDERR_DIALOGFAILURE);
    return FALSE;
  }
  INT_PTR result = RunModalDialog(dialog, request->hwndOwner);
  if (result != IDOK || !state.accepted) return FALSE;
  if (!(request->Flags & OFN_NOCHANGEDIR)) {
    std::string directory = AnsiToUtf8(std::string(request->lpstrFile, request->nFileOffset > 0 ? request->nFileOffset - 1 : 0));
    // A directory that cannot be entered leaves the current one as it was; the name is
    // chosen all the same.
    if (!directory.empty() && chdir(directory.c_str()) != 0) return TRUE;
  }
  return TRUE;
}

}  // namespace vel::platform

BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA lpofn) { return vel::platform::RunFileDialog(lpofn, false); }
BOOL WINAPI GetSaveFileNameA(LPOPENFILENAMEA lpofn) { return vel::platform::RunFileDialog(lpofn, true); }
