#include "runtime/services/fault_modules.h"

#include "runtime/services/fault_line.h"

namespace vel::services {
namespace {

constexpr const char* kHeading = "Loaded Module List:\r\n";

struct Listing {
  HFILE file;
  LoadedModuleTable* table;
};

BOOL CALLBACK ListModule(PCSTR name, DWORD64 base, ULONG size, PVOID context) {
  auto& listing = *static_cast<Listing*>(context);
  // The heading goes before the first module only, so an empty enumeration leaves no trace.
  if (listing.table->Count() == 0) FaultLine().Text(kHeading).WriteTo(listing.file);
  listing.table->Add(LoadedModule{base, size, name});
  FaultLine().Text("  ").Hex(base, 8).Text("-").Hex(base + size, 8).Text(" ").Text(name).EndLine("\r\n").WriteTo(
      listing.file);
  return TRUE;
}

}  // namespace

void LoadedModuleTable::Add(const LoadedModule& module) {
  if (m_count < kCapacity) m_modules[m_count++] = module;
}

const LoadedModule* LoadedModuleTable::Find(std::uint64_t address) const {
  for (std::size_t i = 0; i < m_count; ++i) {
    if (address >= m_modules[i].base && address - m_modules[i].base < m_modules[i].size) return &m_modules[i];
  }
  return nullptr;
}

void RegisteredModuleSnapshot::Take(ModuleList& modules) {
  m_count = 0;
  for (HINSTANCE instance = modules.Next(nullptr); instance != nullptr && m_count < kCapacity;
       instance = modules.Next(instance)) {
    Entry& entry = m_entries[m_count++];
    entry.instance = instance;
    if (GetModuleFileNameA(instance, entry.fileName, sizeof entry.fileName) == 0) entry.fileName[0] = '\0';
  }
}

void WriteModuleListBlock(HFILE file, PENUMERATE_LOADED_MODULES64 enumerate, LoadedModuleTable& table,
                          const RegisteredModuleSnapshot& registered) {
  table.Clear();
  if (enumerate != nullptr) {
    Listing listing{file, &table};
    enumerate(GetCurrentProcess(), ListModule, &listing);
    if (table.Count() > 0) return;
  }
  if (registered.Count() == 0) return;
  FaultLine().Text(kHeading).WriteTo(file);
  for (std::size_t i = 0; i < registered.Count(); ++i) {
    const RegisteredModuleSnapshot::Entry& entry = registered.At(i);
    FaultLine()
        .Text("  ")
        .Hex(reinterpret_cast<std::uintptr_t>(entry.instance), 8)
        .Text(": ")
        .Text(entry.fileName)
        .EndLine("\r\n")
        .WriteTo(file);
  }
}

}  // namespace vel::services
