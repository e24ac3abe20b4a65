#include "tools/vel-wdc/lib/flag_names.h"

#include <cstdio>

#include "runtime/values/storage_kinds.h"

namespace vel::tools {
namespace {

// A field of several bits is listed before the single bits so that it is named as a whole.
constexpr FlagName kWindowFlags[] = {
    {"mm", 0x100, 0x300},
    {"thou", 0x200, 0x300},
    {"pixel", 0x300, 0x300},
    {"size-events", 0x800, 0x800},
};

constexpr FlagName kWindowAttributes[] = {
    {"resizable", 0x20, 0x60},      {"double", 0x40, 0x60},          {"no-border", 0x60, 0x60},
    {"modal", 0x08, 0x08},          {"caption-rule", 0x400, 0x400},  {"maximise-box", 0x800, 0x800},
    {"system-menu", 0x1000, 0x1000}, {"control-look", 0x2000, 0x2000}, {"maximised", 0x4000, 0x4000},
    {"minimised", 0x8000, 0x8000},
};

constexpr FlagName kControlAttributes[] = {
    {"left", 0x04, 0x1C},         {"right", 0x08, 0x1C},         {"decimal", 0x0C, 0x1C},
    {"centre", 0x10, 0x1C},       {"skip", 0x20, 0x20},          {"disabled", 0x40, 0x40},
    {"round", 0x100, 0x100},      {"boxed", 0x200, 0x200},       {"hidden", 0x400, 0x400},
    {"immediate", 0x800, 0x800},  {"transparent", 0x1000, 0x1000},
};

constexpr FlagName kMenuItemFlags[] = {
    {"use", 0x01, 0x01},
    {"right", 0x08, 0x08},
    {"separator", 0x10, 0x10},
    {"greyed", 0x40, 0x40},
};

constexpr FlagName kButtonFlags[] = {
    {"default", 0x01, 0x01},
    {"required", 0x02, 0x02},
    {"flat", 0x40, 0x40},
};

constexpr FlagName kEditModes[] = {
    {"readonly", 0x80, 0x80}, {"password", 0x40, 0x40}, {"upper", 0x20, 0x20},
    {"capitalise", 0x10, 0x10}, {"insert", 0x04, 0x04},  {"overwrite", 0x08, 0x08},
};

constexpr FlagName kFontStyles[] = {
    {"fixed", 0x800, 0x800},
    {"italic", 0x1000, 0x1000},
    {"underline", 0x2000, 0x2000},
    {"strikeout", 0x4000, 0x4000},
};

using values::StorageKind;

struct NamedStorageKind {
  const char* name;
  StorageKind kind;
};

// The value runtime's storage kinds, by the names of its enumeration.
constexpr NamedStorageKind kStorageKinds[] = {
    {"UInt8", StorageKind::UInt8},
    {"Int16", StorageKind::Int16},
    {"UInt16", StorageKind::UInt16},
    {"DateValue", StorageKind::DateValue},
    {"TimeValue", StorageKind::TimeValue},
    {"Int32", StorageKind::Int32},
    {"UInt32", StorageKind::UInt32},
    {"Float32", StorageKind::Float32},
    {"Float64", StorageKind::Float64},
    {"Decimal", StorageKind::Decimal},
    {"PackedDecimal", StorageKind::PackedDecimal},
    {"MbfFloat32", StorageKind::MbfFloat32},
    {"MbfFloat64", StorageKind::MbfFloat64},
    {"Opaque4", StorageKind::Opaque4},
    {"FixedString", StorageKind::FixedString},
    {"ZString", StorageKind::ZString},
    {"LString", StorageKind::LString},
    {"Group", StorageKind::Group},
    {"Opaque", StorageKind::Opaque},
};

}  // namespace

FlagTable WindowFlagNames() { return kWindowFlags; }
FlagTable WindowAttributeNames() { return kWindowAttributes; }
FlagTable ControlAttributeNames() { return kControlAttributes; }
FlagTable MenuItemFlagNames() { return kMenuItemFlags; }
FlagTable ButtonFlagNames() { return kButtonFlags; }
FlagTable EditModeNames() { return kEditModes; }
FlagTable FontStyleNames() { return kFontStyles; }

std::string FormatFlags(std::uint32_t flags, FlagTable names) {
  std::string text;
  auto append = [&text](const std::string& part) {
    if (!text.empty()) text += " + ";
    text += part;
  };
  std::uint32_t remaining = flags;
  for (const FlagName& name : names) {
    if (name.value != 0 && (remaining & name.mask) == name.value) {
      append(name.name);
      remaining &= ~name.mask;
    }
  }
  if (remaining != 0) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%X", remaining);
    append(hex);
  }
  return text.empty() ? "0" : text;
}

std::optional<std::uint32_t> FlagValue(std::string_view name, FlagTable names) {
  for (const FlagName& entry : names) {
    if (name == entry.name) return entry.value;
  }
  return std::nullopt;
}

std::string StorageKindName(std::uint8_t kind) {
  for (const NamedStorageKind& entry : kStorageKinds) {
    if (static_cast<std::uint8_t>(entry.kind) == kind) return entry.name;
  }
  return std::to_string(kind);
}

std::optional<std::uint8_t> StorageKindCode(std::string_view name) {
  for (const NamedStorageKind& entry : kStorageKinds) {
    if (name == entry.name) return static_cast<std::uint8_t>(entry.kind);
  }
  return std::nullopt;
}

}  // namespace vel::tools
