#pragma once
// The second interface of a control: what option boxes and groups implement to hold the
// controls of their own chain.

#include <vector>

namespace vel::controls {

class ControlBase;

class ControlContainer {
 public:
  virtual ~ControlContainer() = default;

  /// Takes a control made from the container's chain (after it was constructed).
  virtual void AddChild(ControlBase& child) { m_children.push_back(&child); }
  /// The controls held, in chain order. The window owns them; the container only refers.
  const std::vector<ControlBase*>& Children() const { return m_children; }

 private:
  std::vector<ControlBase*> m_children;
};

}  // namespace vel::controls
