#pragma once
// A DIALOG statement of a resource script and the classic binary template (DLGTEMPLATE) it
// compiles to, the layout the platform's dialog functions read.

#include <cstdint>
#include <string>
#include <vector>

namespace vel::tools {

struct DialogControlScript {
  std::u16string text;
  bool textIsNumber = false;  ///< An ICON control naming its icon by number.
  uint16_t textNumber = 0;
  uint16_t id = 0;
  std::u16string className;   ///< Empty when classNumber names a predefined class.
  uint16_t classNumber = 0;   ///< 0x80 Button, 0x81 Edit, 0x82 Static, 0x83 ListBox, 0x84 ScrollBar, 0x85 ComboBox
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;
};

struct DialogScript {
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int16_t x = 0, y = 0, cx = 0, cy = 0;
  std::u16string caption;
  std::u16string className;
  std::u16string menuName;
  uint16_t fontSize = 0;
  std::u16string fontFace;
  bool hasFont = false;
  std::vector<DialogControlScript> controls;
};

/// The template's bytes: header, menu, class, caption, font, then each control DWORD-aligned.
std::string WriteDialogTemplate(const DialogScript& dialog);

/// The predefined class number of a class name ("BUTTON" -> 0x80 ...), 0 for others.
uint16_t PredefinedClassNumber(const std::string& name);

/// Window, dialog and control style names a script may use without defining them.
bool BuiltinStyleValue(const std::string& name, uint32_t* value);

}  // namespace vel::tools
