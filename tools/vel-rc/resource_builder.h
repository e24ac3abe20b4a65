#pragma once
// Turns a parsed script into the resources a module holds, laid out as Win32 lays them out:
// an ICON becomes an RT_GROUP_ICON directory plus one RT_ICON per image (numbered from 1), a
// CURSOR an RT_GROUP_CURSOR plus RT_CURSOR images that start with their hot spot, a BITMAP its
// file without the 14-byte file header, STRINGTABLE entries RT_STRING blocks of 16 counted
// UTF-16 strings (block n holds ids 16(n-1) to 16n-1), anything else its file's bytes.

#include <string>
#include <vector>

#include "tools/vel-rc/resource_script.h"

namespace vel::tools {

struct BuiltResource {
  ResourceId type;
  ResourceId name;
  uint16_t language = 0;
  std::string data;
};

/// Reads the files the script names through `reader` and builds every resource. Throws
/// ScriptError (naming the script line) for a missing file or an invalid icon, cursor or
/// bitmap file.
std::vector<BuiltResource> BuildResources(const ResourceScript& script, const std::string& scriptName,
                                          const FileReader& reader);

}  // namespace vel::tools
