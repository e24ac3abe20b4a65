#include "runtime/services/data_area_registry.h"

namespace vel::services {

void DataAreaRegistry::Register(std::byte* start, std::size_t length, bool keepCopy) {
  if (start == nullptr || length == 0) return;
  Area area{start, length, keepCopy, {}};
  if (keepCopy) area.initialContents.assign(start, start + length);
  m_areas.push_back(std::move(area));
  if (m_startUpPassDone) RunHandlers(m_areas.back());
}

void DataAreaRegistry::AddStartUpPassHandler(StartUpPassHandler handler) {
  if (handler) m_handlers.push_back(std::move(handler));
}

void DataAreaRegistry::RunStartUpPass() {
  if (m_startUpPassDone) return;
  m_startUpPassDone = true;
  // Only the areas present now: one a handler registers meanwhile gets its calls from Register.
  std::size_t count = m_areas.size();
  for (std::size_t index = 0; index < count; ++index) RunHandlers(m_areas[index]);
}

void DataAreaRegistry::RunHandlers(const Area& area) const {
  for (const StartUpPassHandler& handler : m_handlers) handler(area);
}

DataAreaRegistry& ProcessDataAreas() {
  static DataAreaRegistry registry;
  return registry;
}

}  // namespace vel::services
