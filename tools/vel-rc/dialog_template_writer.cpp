#include "tools/vel-rc/dialog_template_writer.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace vel::tools {
namespace {

constexpr uint32_t kSetFont = 0x40;  // DS_SETFONT

void Word(std::string& out, uint16_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8);
}

void Dword(std::string& out, uint32_t value) {
  Word(out, static_cast<uint16_t>(value & 0xFFFF));
  Word(out, static_cast<uint16_t>(value >> 16));
}

void Text(std::string& out, const std::u16string& text) {
  for (char16_t unit : text) Word(out, unit);
  Word(out, 0);
}

void NameOrOrdinal(std::string& out, const std::u16string& name, uint16_t number) {
  if (name.empty() && number != 0) {
    Word(out, 0xFFFF);
    Word(out, number);
    return;
  }
  Text(out, name);
}

void Align(std::string& out) {
  while (out.size() % 4 != 0) out += '\0';
}

}  // namespace

std::string WriteDialogTemplate(const DialogScript& dialog) {
  std::string out;
  uint32_t style = dialog.style | (dialog.hasFont ? kSetFont : 0);
  Dword(out, style);
  Dword(out, dialog.exStyle);
  Word(out, static_cast<uint16_t>(dialog.controls.size()));
  for (int16_t value : {dialog.x, dialog.y, dialog.cx, dialog.cy}) Word(out, static_cast<uint16_t>(value));
  Text(out, dialog.menuName);
  Text(out, dialog.className);
  Text(out, dialog.caption);
  if (dialog.hasFont) {
    Word(out, dialog.fontSize);
    Text(out, dialog.fontFace);
  }
  for (const DialogControlScript& control : dialog.controls) {
    Align(out);
    Dword(out, control.style);
    Dword(out, control.exStyle);
    for (int16_t value : {control.x, control.y, control.cx, control.cy}) Word(out, static_cast<uint16_t>(value));
    Word(out, control.id);
    NameOrOrdinal(out, control.className, control.classNumber);
    if (control.textIsNumber) {
      Word(out, 0xFFFF);
      Word(out, control.textNumber);
    } else {
      Text(out, control.text);
    }
    Word(out, 0);  // no creation data
  }
  return out;
}

uint16_t PredefinedClassNumber(const std::string& name) {
  std::string upper = name;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (upper == "BUTTON") return 0x80;
  if (upper == "EDIT") return 0x81;
  if (upper == "STATIC") return 0x82;
  if (upper == "LISTBOX") return 0x83;
  if (upper == "SCROLLBAR") return 0x84;
  if (upper == "COMBOBOX") return 0x85;
  return 0;
}

bool BuiltinStyleValue(const std::string& name, uint32_t* value) {
  static const std::map<std::string, uint32_t> kNames = {
      {"WS_OVERLAPPED", 0x00000000}, {"WS_POPUP", 0x80000000}, {"WS_CHILD", 0x40000000},
      {"WS_VISIBLE", 0x10000000}, {"WS_DISABLED", 0x08000000}, {"WS_CLIPSIBLINGS", 0x04000000},
      {"WS_CLIPCHILDREN", 0x02000000}, {"WS_CAPTION", 0x00C00000}, {"WS_BORDER", 0x00800000},
      {"WS_DLGFRAME", 0x00400000}, {"WS_VSCROLL", 0x00200000}, {"WS_HSCROLL", 0x00100000},
      {"WS_SYSMENU", 0x00080000}, {"WS_THICKFRAME", 0x00040000}, {"WS_GROUP", 0x00020000},
      {"WS_TABSTOP", 0x00010000}, {"WS_EX_CLIENTEDGE", 0x00000200}, {"WS_EX_STATICEDGE", 0x00020000},
      {"DS_ABSALIGN", 0x01}, {"DS_SYSMODAL", 0x02}, {"DS_3DLOOK", 0x04}, {"DS_FIXEDSYS", 0x08},
      {"DS_NOFAILCREATE", 0x10}, {"DS_SETFONT", 0x40}, {"DS_MODALFRAME", 0x80}, {"DS_CONTROL", 0x400},
      {"DS_CENTER", 0x800}, {"DS_CONTEXTHELP", 0x2000},
      {"BS_PUSHBUTTON", 0x0}, {"BS_DEFPUSHBUTTON", 0x1}, {"BS_CHECKBOX", 0x2}, {"BS_AUTOCHECKBOX", 0x3},
      {"BS_RADIOBUTTON", 0x4}, {"BS_3STATE", 0x5}, {"BS_AUTO3STATE", 0x6}, {"BS_GROUPBOX", 0x7},
      {"BS_AUTORADIOBUTTON", 0x9}, {"BS_LEFTTEXT", 0x20},
      {"ES_LEFT", 0x0}, {"ES_CENTER", 0x1}, {"ES_RIGHT", 0x2}, {"ES_UPPERCASE", 0x8}, {"ES_LOWERCASE", 0x10},
      {"ES_PASSWORD", 0x20}, {"ES_AUTOHSCROLL", 0x80}, {"ES_NOHIDESEL", 0x100}, {"ES_OEMCONVERT", 0x400},
      {"ES_READONLY", 0x800}, {"ES_NUMBER", 0x2000},
      {"SS_LEFT", 0x0}, {"SS_CENTER", 0x1}, {"SS_RIGHT", 0x2}, {"SS_ICON", 0x3}, {"SS_SIMPLE", 0xB},
      {"SS_LEFTNOWORDWRAP", 0xC}, {"SS_NOPREFIX", 0x80}, {"SS_NOTIFY", 0x100}, {"SS_SUNKEN", 0x1000},
      {"LBS_NOTIFY", 0x1}, {"LBS_SORT", 0x2}, {"LBS_MULTIPLESEL", 0x8}, {"LBS_OWNERDRAWFIXED", 0x10},
      {"LBS_HASSTRINGS", 0x40}, {"LBS_NOINTEGRALHEIGHT", 0x100}, {"LBS_EXTENDEDSEL", 0x800},
      {"LBS_DISABLENOSCROLL", 0x1000},
      {"CBS_SIMPLE", 0x1}, {"CBS_DROPDOWN", 0x2}, {"CBS_DROPDOWNLIST", 0x3}, {"CBS_OWNERDRAWFIXED", 0x10},
      {"CBS_AUTOHSCROLL", 0x40}, {"CBS_SORT", 0x100}, {"CBS_HASSTRINGS", 0x200},
      {"IDOK", 1}, {"IDCANCEL", 2}, {"IDABORT", 3}, {"IDRETRY", 4}, {"IDIGNORE", 5}, {"IDYES", 6}, {"IDNO", 7},
      {"IDC_STATIC", 0xFFFF},
  };
  auto found = kNames.find(name);
  if (found == kNames.end()) return false;
  *value = found->second;
  return true;
}

}  // namespace vel::tools
