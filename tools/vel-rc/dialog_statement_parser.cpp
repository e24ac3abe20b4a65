// DIALOG and DIALOGEX statements: the header's position and size, the optional statements
// (STYLE, EXSTYLE, CAPTION, FONT, CLASS, MENU) and the controls, generic (CONTROL) and by kind
// (LTEXT, PUSHBUTTON, EDITTEXT, LISTBOX, COMBOBOX, ...), each with the styles the kind implies.

#include <cctype>
#include <map>

#include "tools/vel-rc/dialog_template_writer.h"
#include "tools/vel-rc/script_parser.h"

namespace vel::tools {
namespace {

constexpr uint32_t kChild = 0x40000000;
constexpr uint32_t kVisible = 0x10000000;
constexpr uint32_t kTabStop = 0x00010000;
constexpr uint32_t kGroup = 0x00020000;
constexpr uint32_t kBorder = 0x00800000;
constexpr uint32_t kCaption = 0x00C00000;
constexpr uint32_t kDefaultDialogStyle = 0x80000000 | kBorder | 0x00080000;  // WS_POPUP | WS_BORDER | WS_SYSMENU

struct ControlKind {
  uint16_t classNumber;
  uint32_t style;
  bool hasText;
};

const std::map<std::string, ControlKind>& ControlKinds() {
  static const std::map<std::string, ControlKind> kinds = {
      {"LTEXT", {0x82, 0x0 | kGroup, true}},        {"RTEXT", {0x82, 0x2 | kGroup, true}},
      {"CTEXT", {0x82, 0x1 | kGroup, true}},        {"PUSHBUTTON", {0x80, 0x0 | kTabStop, true}},
      {"DEFPUSHBUTTON", {0x80, 0x1 | kTabStop, true}}, {"CHECKBOX", {0x80, 0x2 | kTabStop, true}},
      {"AUTOCHECKBOX", {0x80, 0x3 | kTabStop, true}}, {"RADIOBUTTON", {0x80, 0x4, true}},
      {"STATE3", {0x80, 0x5 | kTabStop, true}},      {"AUTO3STATE", {0x80, 0x6 | kTabStop, true}},
      {"GROUPBOX", {0x80, 0x7, true}},              {"AUTORADIOBUTTON", {0x80, 0x9, true}},
      {"EDITTEXT", {0x81, kBorder | kTabStop, false}}, {"LISTBOX", {0x83, 0x1 | kBorder, false}},
      {"COMBOBOX", {0x85, 0x1 | kTabStop, false}},   {"SCROLLBAR", {0x84, 0x0, false}},
      {"ICON", {0x82, 0x3, true}},
  };
  return kinds;
}

std::u16string Widen(const std::string& text) {
  std::u16string wide;
  for (unsigned char c : text) wide += static_cast<char16_t>(c);
  return wide;
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

int16_t Coordinate(uint32_t value) { return static_cast<int16_t>(value & 0xFFFF); }

}  // namespace

uint32_t ScriptParser::StyleExpression(uint32_t defaults) {
  uint32_t set = defaults;
  uint32_t cleared = 0;
  for (;;) {
    bool negate = IsName("NOT");
    if (negate) Advance();
    uint32_t value = Term(0);
    if (negate) {
      cleared |= value;
      set &= ~value;
    } else {
      set |= value;
    }
    if (!IsPunctuation('|')) break;
    Advance();
  }
  return set & ~cleared;
}

void ScriptParser::ParseDialog(ResourceScript& script, ScriptResource resource, bool extended) {
  Advance();
  SkipMemoryOptions();
  DialogScript dialog;
  dialog.style = kDefaultDialogStyle;
  int16_t* header[] = {&dialog.x, &dialog.y, &dialog.cx, &dialog.cy};
  for (int i = 0; i < 4; ++i) {
    if (i > 0) Expect(',');
    *header[i] = Coordinate(Expression(0));
  }
  if (extended && IsPunctuation(',')) {
    Advance();
    Expression(0);  // help id
  }
  bool styleGiven = false;
  while (!AtBlockStart()) {
    if (m_current.kind == Token::Kind::End) Fail("DIALOG without BEGIN");
    std::string word = m_current.kind == Token::Kind::Name ? Upper(m_current.text) : "";
    Advance();
    if (word == "STYLE") {
      dialog.style = StyleExpression(0);
      styleGiven = true;
    } else if (word == "EXSTYLE") {
      dialog.exStyle = StyleExpression(0);
    } else if (word == "CAPTION") {
      if (m_current.kind != Token::Kind::String) Fail("expected the caption in quotes");
      dialog.caption = ToUtf16(m_current);
      Advance();
      if (!styleGiven) dialog.style |= kCaption;
    } else if (word == "FONT") {
      dialog.fontSize = static_cast<uint16_t>(Expression(0));
      Expect(',');
      if (m_current.kind != Token::Kind::String) Fail("expected the font's face name in quotes");
      dialog.fontFace = ToUtf16(m_current);
      dialog.hasFont = true;
      Advance();
      // DIALOGEX fonts may add weight, italic and character set.
      while (IsPunctuation(',')) {
        Advance();
        Expression(0);
      }
    } else if (word == "CLASS") {
      if (m_current.kind != Token::Kind::String) Fail("expected the class name in quotes");
      dialog.className = ToUtf16(m_current);
      Advance();
    } else if (word == "MENU") {
      dialog.menuName = Widen(Upper(m_current.text));
      Advance();
    } else if (word == "LANGUAGE") {
      Expression(0);
      Expect(',');
      Expression(0);
    } else if (word == "CHARACTERISTICS" || word == "VERSION") {
      Expression(0);
    } else {
      Fail("unknown DIALOG statement " + word);
    }
  }
  Advance();
  while (!AtBlockEnd()) {
    if (m_current.kind == Token::Kind::End) Fail("DIALOG not closed");
    dialog.controls.push_back(ParseDialogControl(extended));
  }
  Advance();
  if (dialog.controls.size() > 0x7FFF) Fail("too many controls in DIALOG");
  resource.type = ResourceId::Number(5);  // RT_DIALOG
  resource.inlineData = WriteDialogTemplate(dialog);
  script.resources.push_back(std::move(resource));
}

DialogControlScript ScriptParser::ParseDialogControl(bool extended) {
  if (m_current.kind != Token::Kind::Name) Fail("expected a control statement");
  std::string kind = Upper(m_current.text);
  Advance();
  DialogControlScript control;
  auto text = [&] {
    if (m_current.kind == Token::Kind::String) {
      control.text = ToUtf16(m_current);
      Advance();
    } else {
      control.textIsNumber = true;
      control.textNumber = static_cast<uint16_t>(Expression(0));
    }
    Expect(',');
  };
  auto rectangle = [&] {
    int16_t* parts[] = {&control.x, &control.y, &control.cx, &control.cy};
    for (int i = 0; i < 4; ++i) {
      if (i > 0) Expect(',');
      *parts[i] = Coordinate(Expression(0));
    }
  };
  if (kind == "CONTROL") {
    text();
    control.id = static_cast<uint16_t>(Expression(0));
    Expect(',');
    if (m_current.kind != Token::Kind::String && m_current.kind != Token::Kind::Name) Fail("expected a class name");
    std::string className = m_current.text;
    Advance();
    control.classNumber = PredefinedClassNumber(className);
    if (control.classNumber == 0) control.className = Widen(className);
    Expect(',');
    control.style = StyleExpression(kChild | kVisible);
    Expect(',');
    rectangle();
    if (IsPunctuation(',')) {
      Advance();
      control.exStyle = StyleExpression(0);
    }
  } else {
    auto found = ControlKinds().find(kind);
    if (found == ControlKinds().end()) Fail("unknown control " + kind);
    const ControlKind& known = found->second;
    control.classNumber = known.classNumber;
    if (known.hasText) text();
    control.id = static_cast<uint16_t>(Expression(0));
    Expect(',');
    if (kind == "ICON") {
      control.x = Coordinate(Expression(0));
      Expect(',');
      control.y = Coordinate(Expression(0));
      if (IsPunctuation(',')) {
        Advance();
        control.cx = Coordinate(Expression(0));
        Expect(',');
        control.cy = Coordinate(Expression(0));
      }
    } else {
      rectangle();
    }
    control.style = kChild | kVisible | known.style;
    if (IsPunctuation(',')) {
      Advance();
      control.style = StyleExpression(control.style);
      if (IsPunctuation(',')) {
        Advance();
        control.exStyle = StyleExpression(0);
      }
    }
  }
  // DIALOGEX controls may end with a help id (and creation data, which is not supported).
  if (extended && IsPunctuation(',')) {
    Advance();
    Expression(0);
  }
  return control;
}

}  // namespace vel::tools
