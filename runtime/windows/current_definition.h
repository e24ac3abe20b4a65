#pragma once
// The runtime's current-definition slot: finding a window definition by qualified name and
// label across the modules, and holding its body while windows are built from it.

#include <cstdint>
#include <string_view>
#include <vector>

#include "runtime/windows/definition_view.h"
#include "runtime/windows/resource_source.h"
#include "win32.h"

namespace vel::windows {

/// Holds the body of the definition resource last found. Offsets of the body index the buffer
/// directly: byte 0 is zero (offset 0 reads as the empty string) and the body starts at byte 2.
class CurrentDefinition {
 public:
  /// Finds the window definition labelled `label` in the resource of `qualifiedName`
  /// ("skarvine$SKARV001"), searching the modules of `source` in order. Returns the body offset
  /// of the window record, or 0 when no module holds it (the caller raises error 502). On
  /// success the body becomes the current definition and its module is remembered for icon and
  /// cursor look-ups; on failure the slot is empty.
  std::uint32_t Find(const ResourceSource& source, std::string_view qualifiedName, std::string_view label);

  /// Frees the body; the slot is empty afterwards.
  void Release();

  /// True while the slot holds a definition.
  bool Holds() const { return !m_buffer.empty(); }

  /// The body as a bounds-checked view (empty when the slot is empty).
  DefinitionView View() const { return DefinitionView(m_buffer); }

  /// The module the definition was found in (null when the slot is empty).
  HMODULE Module() const { return m_module; }

 private:
  std::vector<std::uint8_t> m_buffer;
  HMODULE m_module = nullptr;
};

/// Copies a resource's body into a buffer addressed by body offsets, provided its leading
/// qualified name is exactly `qualifiedName`; empty otherwise.
std::vector<std::uint8_t> CopyDefinitionBody(std::span<const std::uint8_t> resource, std::string_view qualifiedName);

/// The offset of the window record labelled `label` in a body buffer, following the chain of
/// window and report records from body offset 2, or 0.
std::uint32_t FindWindowRecord(const DefinitionView& body, std::string_view label);

}  // namespace vel::windows
