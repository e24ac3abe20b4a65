#pragma once
// Dialog templates, classic (DLGTEMPLATE) and extended (DLGTEMPLATEEX), read with every offset
// checked: what the dialog and each of its controls are, in dialog units, with texts in the
// ANSI code page.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "win32.h"

namespace vel::platform {

/// A class or title given by name or by number (a resource ordinal or a predefined class).
struct NameOrNumber {
  bool isNumber = false;
  uint16_t number = 0;
  std::string name;
};

struct DialogItemTemplate {
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0;
  short y = 0;
  short cx = 0;
  short cy = 0;
  DWORD id = 0;
  /// The class: a name, or 0x80 Button, 0x81 Edit, 0x82 Static, 0x83 ListBox, 0x84 ScrollBar,
  /// 0x85 ComboBox.
  NameOrNumber windowClass;
  NameOrNumber title;
  std::vector<BYTE> creationData;
};

struct DialogTemplate {
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0;
  short y = 0;
  short cx = 0;
  short cy = 0;
  NameOrNumber menu;
  NameOrNumber windowClass;
  std::string title;
  /// Set with DS_SETFONT: the point size and face of the dialog's font.
  int pointSize = 0;
  int weight = FW_NORMAL;
  bool italic = false;
  std::string faceName;
  std::vector<DialogItemTemplate> items;
};

/// Reads a template of `size` bytes; nothing when it is damaged or runs past its end.
std::optional<DialogTemplate> ParseDialogTemplate(const void* bytes, size_t size);

/// The class name a predefined class number stands for ("Button" for 0x80 ...), or empty.
std::string PredefinedClassName(uint16_t number);

}  // namespace vel::platform
