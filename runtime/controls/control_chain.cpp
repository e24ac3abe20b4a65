#include "runtime/controls/control_chain.h"

#include <algorithm>

#include "runtime/controls/control_base.h"
#include "runtime/controls/control_container.h"
#include "runtime/controls/control_factory.h"
#include "runtime/windows/definition_record.h"
#include "runtime/windows/window_object.h"

namespace vel::controls {
namespace {

ChainContext* g_current = nullptr;

void BuildRecords(ChainContext& context, std::uint32_t firstRecord) {
  for (const windows::Record& record : windows::ReadChain(context.view, firstRecord)) {
    ControlBase* control = CreateControl(*context.window, record);
    if (control == nullptr) continue;
    if (context.container != nullptr) {
      if (ControlContainer* holder = context.container->AsContainer()) holder->AddChild(*control);
    }
  }
}

}  // namespace

ChainScope::ChainScope(ChainContext context) : m_context(std::move(context)), m_previous(g_current) {
  g_current = &m_context;
}

ChainScope::~ChainScope() {
  // The extent runs on across nested chains: the window sizes itself by all of its controls.
  if (m_previous != nullptr) {
    m_previous->extent.cx = std::max(m_previous->extent.cx, m_context.extent.cx);
    m_previous->extent.cy = std::max(m_previous->extent.cy, m_context.extent.cy);
  }
  g_current = m_previous;
}

ChainContext* CurrentChain() { return g_current; }

SIZE BuildWindowControls(windows::WindowObject& window, const windows::DefinitionView& view,
                         std::uint32_t firstRecord) {
  ChainContext context;
  context.window = &window;
  context.view = view;
  context.defaultMessage = window.defaultMessage;
  context.defaultHelp = window.defaultHelp;
  context.parent = window.client;
  return BuildChainIn(std::move(context), firstRecord);
}

SIZE BuildChainIn(ChainContext context, std::uint32_t firstRecord) {
  ChainScope scope(std::move(context));
  BuildRecords(scope.Context(), firstRecord);
  return scope.Context().extent;
}

void BuildControlChain(ControlBase* container, std::uint32_t firstRecord,
                       const std::optional<std::string>& defaultMessage,
                       const std::optional<std::string>& defaultHelp) {
  if (g_current == nullptr || firstRecord == 0) return;
  ChainContext context = *g_current;
  context.container = container;
  context.defaultMessage = defaultMessage;
  context.defaultHelp = defaultHelp;
  ChainScope scope(std::move(context));
  BuildRecords(scope.Context(), firstRecord);
}

}  // namespace vel::controls
