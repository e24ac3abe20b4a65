#pragma once
// Builds the standard dialogs' templates in code, in dialog units, as a resource script would
// describe them.

#include <string>
#include <utility>

#include "platform/user/dialog_template.h"

namespace vel::platform {

class TemplateBuilder {
 public:
  TemplateBuilder(const char* title, short width, short height) {
    m_template.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_3DLOOK;
    m_template.cx = width;
    m_template.cy = height;
    m_template.x = 30;
    m_template.y = 20;
    m_template.title = title;
    m_template.pointSize = 8;
    m_template.faceName = "MS Sans Serif";
  }

  /// A control of a predefined class (0x80 Button, 0x81 Edit, 0x82 Static, 0x83 ListBox,
  /// 0x85 ComboBox).
  TemplateBuilder& Control(uint16_t classNumber, const char* text, int id, DWORD style, short x, short y, short cx,
                           short cy, DWORD exStyle = 0) {
    DialogItemTemplate item;
    item.style = style | WS_CHILD | WS_VISIBLE;
    item.exStyle = exStyle;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    item.id = static_cast<DWORD>(id & 0xFFFF);
    item.windowClass.isNumber = true;
    item.windowClass.number = classNumber;
    item.title.name = text;
    m_template.items.push_back(std::move(item));
    return *this;
  }
  TemplateBuilder& Label(const char* text, int id, short x, short y, short cx, short cy, DWORD style = SS_LEFT) {
    return Control(0x82, text, id, style, x, y, cx, cy);
  }
  TemplateBuilder& Push(const char* text, int id, short x, short y, short cx, short cy, bool isDefault = false) {
    return Control(0x80, text, id, (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP | WS_GROUP, x, y, cx, cy);
  }
  TemplateBuilder& Group(const char* text, int id, short x, short y, short cx, short cy) {
    return Control(0x80, text, id, BS_GROUPBOX, x, y, cx, cy);
  }
  TemplateBuilder& Check(const char* text, int id, short x, short y, short cx, short cy) {
    return Control(0x80, text, id, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, x, y, cx, cy);
  }
  TemplateBuilder& Radio(const char* text, int id, short x, short y, short cx, short cy, bool first) {
    return Control(0x80, text, id, BS_AUTORADIOBUTTON | (first ? WS_GROUP | WS_TABSTOP : 0), x, y, cx, cy);
  }
  TemplateBuilder& Edit(int id, short x, short y, short cx, short cy, DWORD style = 0) {
    return Control(0x81, "", id, ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP | style, x, y, cx, cy, WS_EX_CLIENTEDGE);
  }
  TemplateBuilder& List(int id, short x, short y, short cx, short cy, DWORD style) {
    return Control(0x83, "", id, LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP | WS_GROUP | style, x, y, cx, cy, WS_EX_CLIENTEDGE);
  }
  TemplateBuilder& Drop(int id, short x, short y, short cx, short cy, DWORD style = 0) {
    return Control(0x85, "", id, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP | style, x, y, cx, cy);
  }

  const DialogTemplate& Template() const { return m_template; }

 private:
  DialogTemplate m_template;
};

}  // namespace vel::platform
