#pragma once
// How compiled resources reach their module. The resource compiler (vel-rc) emits a table of
// ResourceEntry and one static ResourceRegistration; when the program starts, that object
// hands the table to the module named in the script's build rule (the program's own module when
// none is named). FindResourceA and its companions read the tables back.
//
// The layouts are those of Win32 resources: an icon is an RT_GROUP_ICON directory plus one
// RT_ICON per image, a cursor an RT_GROUP_CURSOR plus RT_CURSOR images that begin with their
// hot spot, a string table RT_STRING blocks of 16 counted UTF-16 strings, a bitmap an RT_BITMAP
// without its file header, anything else the bytes of its file.

#include <cstddef>

#include "win32.h"

namespace vel::platform {

struct ResourceEntry {
  const char* typeName;  ///< Upper-case type name, or null when the type is the number typeId.
  WORD typeId;
  const char* name;  ///< Upper-case name, or null when the name is the number nameId.
  WORD nameId;
  WORD language;
  const unsigned char* data;
  size_t size;
};

/// Adds the entries (which must outlive the process: static data) to the module of that name,
/// which is created on first use; null or "" is the program's own module. Returns the module.
HMODULE RegisterResources(const char* moduleName, const ResourceEntry* entries, size_t count);

/// Registers a table while static objects are constructed.
class ResourceRegistration {
 public:
  ResourceRegistration(const char* moduleName, const ResourceEntry* entries, size_t count) {
    RegisterResources(moduleName, entries, count);
  }
};

/// The entry a FindResourceA result stands for, if it belongs to the module.
const ResourceEntry* ResourceFromHandle(HMODULE module, HRSRC resource);

}  // namespace vel::platform
