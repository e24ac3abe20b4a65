#pragma once
// The list of registered modules: registration (with fixups and initialisation), termination,
// enumeration of modules and of their data areas, and the program instance handle.

#include <cstddef>
#include <cstdint>

#include "runtime/services/module_descriptor.h"
#include "win32.h"

namespace vel::services {

/// The two static data areas of one registered module.
struct ModuleDataAreas {
  HINSTANCE instance = nullptr;
  std::byte* globalDataStart = nullptr;
  std::size_t globalDataLength = 0;
  std::byte* secondDataStart = nullptr;
  std::size_t secondDataLength = 0;
};

/// Registered modules, most recently registered first. The process has one (ProcessModules());
/// tests may make their own. Registration and termination take no lock: they run before other
/// runtime threads exist and after the shutdown step has stopped them.
class ModuleList {
 public:
  ModuleList() = default;
  ModuleList(const ModuleList&) = delete;
  ModuleList& operator=(const ModuleList&) = delete;
  /// Frees the nodes without running any terminate routine.
  ~ModuleList();

  /// Registers a module: a null instance means the process's own module. Links the descriptor
  /// to the previous head, applies its data-import fixups and runs its initialisers. Refuses
  /// (returns false, runs nothing) a null or unsound descriptor and one already registered.
  bool Register(ModuleDescriptor* descriptor, HINSTANCE instance);

  /// Unlinks the module with this instance handle, runs its terminate routines when its
  /// descriptor is still sound and still names this instance, and frees its node. An unknown
  /// handle is ignored.
  void Terminate(HINSTANCE instance);

  /// With null, the first module's instance handle; with a registered module's handle, the next
  /// one's, or null at the end of the list (and for a handle that is not registered).
  HINSTANCE Next(HINSTANCE instance);

  /// Starts an enumeration of the modules' data areas; false when no module is registered.
  bool FirstDataAreas(ModuleDataAreas& areas);
  /// Continues it; false when the list is exhausted.
  bool NextDataAreas(ModuleDataAreas& areas);

  /// The instance handle of the first module ever registered here (null before that).
  HINSTANCE ProgramInstance() const { return m_programInstance; }

  /// Whether a module with this instance handle is registered.
  bool Contains(HINSTANCE instance) const;

 private:
  struct Node {
    Node* next;
    HINSTANCE instance;
    ModuleDescriptor* descriptor;
    std::uint32_t reserved;
  };

  Node* FindNode(HINSTANCE instance) const;
  bool ContainsDescriptor(const ModuleDescriptor* descriptor) const;
  static void FillDataAreas(const Node& node, ModuleDataAreas& areas);

  Node* m_head = nullptr;
  HINSTANCE m_programInstance = nullptr;
  // The positions of the two enumerations persist between calls; termination clears them when
  // it frees the node they point at.
  Node* m_nextCursor = nullptr;
  Node* m_dataAreaCursor = nullptr;
};

/// The process's module list.
ModuleList& ProcessModules();

/// The operations on the process's module list.
bool RegisterModule(ModuleDescriptor* descriptor, HINSTANCE instance);
void TerminateModule(HINSTANCE instance);
HINSTANCE NextModule(HINSTANCE instance);
bool FirstModuleDataAreas(ModuleDataAreas& areas);
bool NextModuleDataAreas(ModuleDataAreas& areas);
/// The program instance handle: the first module ever registered; resources are loaded from it.
HINSTANCE ProgramInstance();

}  // namespace vel::services
