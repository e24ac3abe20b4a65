#include "runtime/services/module_list.h"

#include "runtime/services/data_import_fixups.h"
#include "runtime/services/initialiser_table.h"

namespace vel::services {

ModuleList::~ModuleList() {
  while (m_head != nullptr) {
    Node* next = m_head->next;
    delete m_head;
    m_head = next;
  }
}

bool ModuleList::Register(ModuleDescriptor* descriptor, HINSTANCE instance) {
  if (descriptor == nullptr || !DescriptorIsSound(*descriptor) || ContainsDescriptor(descriptor)) return false;
  if (instance == nullptr) instance = GetModuleHandleA(nullptr);
  if (m_programInstance == nullptr) m_programInstance = instance;

  descriptor->previousDescriptor = m_head != nullptr ? m_head->descriptor : nullptr;
  descriptor->instance = instance;
  m_head = new Node{m_head, instance, descriptor, 0};

  ApplyDataImportFixups(*descriptor);
  RunInitialisers(descriptor->initialiserTableStart, descriptor->initialiserTableEnd);
  return true;
}

void ModuleList::Terminate(HINSTANCE instance) {
  Node* previous = nullptr;
  Node* node = m_head;
  while (node != nullptr && node->instance != instance) {
    previous = node;
    node = node->next;
  }
  if (node == nullptr) return;

  (previous != nullptr ? previous->next : m_head) = node->next;
  if (m_nextCursor == node) m_nextCursor = nullptr;
  if (m_dataAreaCursor == node) m_dataAreaCursor = nullptr;

  // A descriptor that no longer passes the check, or that now describes another instance, is
  // not walked: its terminate routines are skipped and only the node goes.
  const ModuleDescriptor* descriptor = node->descriptor;
  if (descriptor != nullptr && DescriptorIsSound(*descriptor) && descriptor->instance == instance)
    RunTerminators(descriptor->initialiserTableStart, descriptor->initialiserTableEnd);
  delete node;
}

HINSTANCE ModuleList::Next(HINSTANCE instance) {
  if (instance == nullptr) {
    m_nextCursor = m_head;
  } else {
    // The remembered position answers the usual walk at once; any other handle is looked up.
    Node* current = m_nextCursor != nullptr && m_nextCursor->instance == instance ? m_nextCursor : FindNode(instance);
    m_nextCursor = current != nullptr ? current->next : nullptr;
  }
  return m_nextCursor != nullptr ? m_nextCursor->instance : nullptr;
}

bool ModuleList::FirstDataAreas(ModuleDataAreas& areas) {
  m_dataAreaCursor = m_head;
  if (m_dataAreaCursor == nullptr) return false;
  FillDataAreas(*m_dataAreaCursor, areas);
  return true;
}

bool ModuleList::NextDataAreas(ModuleDataAreas& areas) {
  if (m_dataAreaCursor == nullptr) return false;
  m_dataAreaCursor = m_dataAreaCursor->next;
  if (m_dataAreaCursor == nullptr) return false;
  FillDataAreas(*m_dataAreaCursor, areas);
  return true;
}

bool ModuleList::Contains(HINSTANCE instance) const { return FindNode(instance) != nullptr; }

ModuleList::Node* ModuleList::FindNode(HINSTANCE instance) const {
  for (Node* node = m_head; node != nullptr; node = node->next)
    if (node->instance == instance) return node;
  return nullptr;
}

bool ModuleList::ContainsDescriptor(const ModuleDescriptor* descriptor) const {
  for (const Node* node = m_head; node != nullptr; node = node->next)
    if (node->descriptor == descriptor) return true;
  return false;
}

void ModuleList::FillDataAreas(const Node& node, ModuleDataAreas& areas) {
  const ModuleDescriptor& descriptor = *node.descriptor;
  areas.instance = node.instance;
  areas.globalDataStart = descriptor.globalDataStart;
  areas.globalDataLength = AreaLength(descriptor.globalDataStart, descriptor.globalDataEnd);
  areas.secondDataStart = descriptor.secondDataStart;
  areas.secondDataLength = AreaLength(descriptor.secondDataStart, descriptor.secondDataEnd);
}

ModuleList& ProcessModules() {
  static ModuleList list;
  return list;
}

bool RegisterModule(ModuleDescriptor* descriptor, HINSTANCE instance) {
  return ProcessModules().Register(descriptor, instance);
}
void TerminateModule(HINSTANCE instance) { ProcessModules().Terminate(instance); }
HINSTANCE NextModule(HINSTANCE instance) { return ProcessModules().Next(instance); }
bool FirstModuleDataAreas(ModuleDataAreas& areas) { return ProcessModules().FirstDataAreas(areas); }
bool NextModuleDataAreas(ModuleDataAreas& areas) { return ProcessModules().NextDataAreas(areas); }
HINSTANCE ProgramInstance() { return ProcessModules().ProgramInstance(); }

}  // namespace vel::services
