#pragma once
// The runtime's data-area registry: the static data areas of every registered module, with a
// copy of each global data area as it was when the program started.

#include <cstddef>
#include <deque>
#include <functional>
#include <vector>

namespace vel::services {

/// The registry of module data areas. The start-up step hands it every module's areas and then
/// starts its pass; subsystems that need the areas (for instance to give a new thread fresh
/// globals from the start-up copy) add a start-up pass handler.
class DataAreaRegistry {
 public:
  /// One registered area.
  struct Area {
    std::byte* start;
    std::size_t length;
    /// Whether the contents were copied at registration.
    bool hasInitialCopy;
    /// The contents at registration (empty unless hasInitialCopy).
    std::vector<std::byte> initialContents;
  };

  /// Called once for every area: for the areas present at the start-up pass when it runs, and
  /// at once for every area registered after it.
  using StartUpPassHandler = std::function<void(const Area&)>;

  /// Keeps an area; with keepCopy, also a copy of its present contents. An empty or null area
  /// has nothing to keep and is ignored.
  void Register(std::byte* start, std::size_t length, bool keepCopy);

  /// Adds a handler for the start-up pass. A handler added after the pass sees the areas
  /// registered from then on.
  void AddStartUpPassHandler(StartUpPassHandler handler);

  /// Runs the start-up pass over every registered area; later calls do nothing.
  void RunStartUpPass();

  bool StartUpPassDone() const { return m_startUpPassDone; }
  const std::deque<Area>& Areas() const { return m_areas; }

 private:
  void RunHandlers(const Area& area) const;

  // A deque keeps every area where it is while a handler registers further ones.
  std::deque<Area> m_areas;
  std::vector<StartUpPassHandler> m_handlers;
  bool m_startUpPassDone = false;
};

/// The process's registry.
DataAreaRegistry& ProcessDataAreas();

}  // namespace vel::services
