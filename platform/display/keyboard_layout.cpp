#include "platform/display/keyboard_layout.h"

#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace vel::platform {
namespace {

// The punctuation keys of a US layout: key, unshifted character, shifted character.
struct PunctuationKey {
  BYTE key;
  char plain;
  char shifted;
};
constexpr PunctuationKey kPunctuation[] = {
    {VK_OEM_1, ';', ':'},     {VK_OEM_PLUS, '=', '+'},   {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'},
    {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},      {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},
    {VK_OEM_5, '\\', '|'},    {VK_OEM_6, ']', '}'},      {VK_OEM_7, '\'', '"'},
};
constexpr char kShiftedDigits[] = ")!@#$%^&*(";

// Scan codes (set 1) indexed by virtual key, for the keys a US keyboard has.
struct ScanEntry {
  BYTE key;
  BYTE scan;
};
constexpr ScanEntry kScanCodes[] = {
    {VK_ESCAPE, 0x01}, {'1', 0x02},        {'2', 0x03},         {'3', 0x04},        {'4', 0x05},
    {'5', 0x06},       {'6', 0x07},        {'7', 0x08},         {'8', 0x09},        {'9', 0x0A},
    {'0', 0x0B},       {VK_OEM_MINUS, 0x0C}, {VK_OEM_PLUS, 0x0D}, {VK_BACK, 0x0E},    {VK_TAB, 0x0F},
    {'Q', 0x10},       {'W', 0x11},        {'E', 0x12},         {'R', 0x13},        {'T', 0x14},
    {'Y', 0x15},       {'U', 0x16},        {'I', 0x17},         {'O', 0x18},        {'P', 0x19},
    {VK_OEM_4, 0x1A},  {VK_OEM_6, 0x1B},   {VK_RETURN, 0x1C},   {VK_CONTROL, 0x1D}, {'A', 0x1E},
    {'S', 0x1F},       {'D', 0x20},        {'F', 0x21},         {'G', 0x22},        {'H', 0x23},
    {'J', 0x24},       {'K', 0x25},        {'L', 0x26},         {VK_OEM_1, 0x27},   {VK_OEM_7, 0x28},
    {VK_OEM_3, 0x29},  {VK_SHIFT, 0x2A},   {VK_OEM_5, 0x2B},    {'Z', 0x2C},        {'X', 0x2D},
    {'C', 0x2E},       {'V', 0x2F},        {'B', 0x30},         {'N', 0x31},        {'M', 0x32},
    {VK_OEM_COMMA, 0x33}, {VK_OEM_PERIOD, 0x34}, {VK_OEM_2, 0x35}, {VK_RSHIFT, 0x36}, {VK_MULTIPLY, 0x37},
    {VK_MENU, 0x38},   {VK_SPACE, 0x39},   {VK_CAPITAL, 0x3A},  {VK_F1, 0x3B},      {VK_F2, 0x3C},
    {VK_F3, 0x3D},     {VK_F4, 0x3E},      {VK_F5, 0x3F},       {VK_F6, 0x40},      {VK_F7, 0x41},
    {VK_F8, 0x42},     {VK_F9, 0x43},      {VK_F10, 0x44},      {VK_NUMLOCK, 0x45}, {VK_SCROLL, 0x46},
    {VK_HOME, 0x47},   {VK_UP, 0x48},      {VK_PRIOR, 0x49},    {VK_SUBTRACT, 0x4A}, {VK_LEFT, 0x4B},
    {VK_RIGHT, 0x4D},  {VK_ADD, 0x4E},     {VK_END, 0x4F},      {VK_DOWN, 0x50},    {VK_NEXT, 0x51},
    {VK_INSERT, 0x52}, {VK_DELETE, 0x53},  {VK_F11, 0x57},      {VK_F12, 0x58},
};

struct NamedKey {
  const char* name;
  BYTE key;
};
constexpr NamedKey kNames[] = {
    {"BACK", VK_BACK},     {"TAB", VK_TAB},       {"RETURN", VK_RETURN}, {"ENTER", VK_RETURN},
    {"SHIFT", VK_SHIFT},   {"CONTROL", VK_CONTROL}, {"CTRL", VK_CONTROL}, {"MENU", VK_MENU},
    {"ALT", VK_MENU},      {"CAPITAL", VK_CAPITAL}, {"ESCAPE", VK_ESCAPE}, {"ESC", VK_ESCAPE},
    {"SPACE", VK_SPACE},   {"PRIOR", VK_PRIOR},   {"NEXT", VK_NEXT},     {"END", VK_END},
    {"HOME", VK_HOME},     {"LEFT", VK_LEFT},     {"UP", VK_UP},         {"RIGHT", VK_RIGHT},
    {"DOWN", VK_DOWN},     {"INSERT", VK_INSERT}, {"DELETE", VK_DELETE}, {"NUMLOCK", VK_NUMLOCK},
    {"SCROLL", VK_SCROLL},
};

}  // namespace

SHORT KeyForCharacter(char character) {
  unsigned char c = static_cast<unsigned char>(character);
  if (c >= 'a' && c <= 'z') return static_cast<SHORT>(c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return static_cast<SHORT>(0x100 | c);
  if (c >= '0' && c <= '9') return static_cast<SHORT>(c);
  for (int digit = 0; digit < 10; ++digit) {
    if (kShiftedDigits[digit] == character) return static_cast<SHORT>(0x100 | ('0' + digit));
  }
  for (const auto& key : kPunctuation) {
    if (key.plain == character) return key.key;
    if (key.shifted == character) return static_cast<SHORT>(0x100 | key.key);
  }
  switch (c) {
    case ' ': return VK_SPACE;
    case '\t': return VK_TAB;
    case '\r': return VK_RETURN;
    case '\n': return static_cast<SHORT>(0x200 | VK_RETURN);
    case 0x08: return VK_BACK;
    case 0x1B: return VK_ESCAPE;
    default: return -1;
  }
}

char CharacterForKey(BYTE virtualKey, bool shift, bool control, bool capsLock) {
  if (virtualKey >= 'A' && virtualKey <= 'Z') {
    if (control) return static_cast<char>(virtualKey - 'A' + 1);
    bool upper = shift != capsLock;
    return static_cast<char>(upper ? virtualKey : virtualKey - 'A' + 'a');
  }
  if (control) return 0;
  if (virtualKey >= '0' && virtualKey <= '9') {
    return shift ? kShiftedDigits[virtualKey - '0'] : static_cast<char>(virtualKey);
  }
  if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD9) return static_cast<char>('0' + virtualKey - VK_NUMPAD0);
  for (const auto& key : kPunctuation) {
    if (key.key == virtualKey) return shift ? key.shifted : key.plain;
  }
  switch (virtualKey) {
    case VK_SPACE: return ' ';
    case VK_TAB: return '\t';
    case VK_RETURN: return '\r';
    case VK_BACK: return 0x08;
    case VK_ESCAPE: return 0x1B;
    case VK_MULTIPLY: return '*';
    case VK_ADD: return '+';
    case VK_SUBTRACT: return '-';
    case VK_DECIMAL: return '.';
    case VK_DIVIDE: return '/';
    default: return 0;
  }
}

UINT ScanCodeForKey(BYTE virtualKey) {
  if (virtualKey == VK_LSHIFT) virtualKey = VK_SHIFT;
  if (virtualKey == VK_LCONTROL || virtualKey == VK_RCONTROL) virtualKey = VK_CONTROL;
  if (virtualKey == VK_LMENU || virtualKey == VK_RMENU) virtualKey = VK_MENU;
  for (const auto& entry : kScanCodes) {
    if (entry.key == virtualKey) return entry.scan;
  }
  return 0;
}

BYTE KeyForScanCode(UINT scanCode) {
  for (const auto& entry : kScanCodes) {
    if (entry.scan == scanCode) return entry.key;
  }
  return 0;
}

BYTE KeyByName(const char* name) {
  if (name == nullptr || *name == '\0') return 0;
  if (std::strlen(name) == 1) {
    SHORT scan = KeyForCharacter(name[0]);
    return scan == -1 ? 0 : static_cast<BYTE>(scan & 0xFF);
  }
  if (name[0] == '0' && (name[1] == 'x' || name[1] == 'X')) {
    long value = std::strtol(name, nullptr, 16);
    return value > 0 && value < 256 ? static_cast<BYTE>(value) : 0;
  }
  if ((name[0] == 'F' || name[0] == 'f') && name[1] >= '1' && name[1] <= '9') {
    int number = std::atoi(name + 1);
    if (number >= 1 && number <= 12) return static_cast<BYTE>(VK_F1 + number - 1);
  }
  for (const auto& named : kNames) {
    if (strcasecmp(named.name, name) == 0) return named.key;
  }
  return 0;
}

}  // namespace vel::platform
