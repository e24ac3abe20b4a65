#include "runtime/controls/use_link.h"

#include "runtime/services/error_report.h"
#include "runtime/values/reference_factory.h"
#include "runtime/values/string_stack.h"
#include "runtime/windows/window_object.h"

namespace vel::controls {
namespace {

// A variable of the procedure, or a constant whose copy the reference owns.
class PlainUseLink final : public UseLink {
 public:
  PlainUseLink(std::uint8_t kind, std::unique_ptr<values::ValueReference> reference)
      : UseLink(kind), m_reference(std::move(reference)) {}
  ~PlainUseLink() override { values::DeleteReference(std::move(m_reference)); }
  values::ValueReference& Reference() override { return *m_reference; }

 private:
  std::unique_ptr<values::ValueReference> m_reference;
};

// A value the procedure hands over as a typed value reference: the link uses it as it is and
// never frees it.
class PassedReferenceUseLink final : public UseLink {
 public:
  PassedReferenceUseLink(std::uint8_t kind, values::ValueReference& reference)
      : UseLink(kind), m_reference(reference) {}
  values::ValueReference& Reference() override { return m_reference; }

 private:
  values::ValueReference& m_reference;
};

std::unique_ptr<UseLink> Refuse() {
  services::ReportRuntimeError(kErrorUseBinding, kUseModule);
  return nullptr;
}

void* NextUseAddress(windows::WindowObject& window) {
  if (window.useCursor >= window.useAddresses.size()) return nullptr;
  return window.useAddresses[window.useCursor++];
}

std::uint32_t DeclaredSize(const windows::UseDescriptor& descriptor) {
  return descriptor.size > 0 ? static_cast<std::uint32_t>(descriptor.size) : 0;
}

}  // namespace

std::string UseLink::Text() {
  Reference().PushText();
  values::StringView top = values::TopView();
  std::string text(top.data != nullptr ? top.data : "", top.length);
  values::DropTop();
  return text;
}

std::string UseLink::DisplayText() {
  std::string text = Text();
  std::size_t end = text.find_last_not_of(' ');
  text.erase(end == std::string::npos ? 0 : end + 1);
  return text;
}

void UseLink::Assign(std::string_view text) {
  values::PushBytes(text.data(), static_cast<std::uint32_t>(text.size()));
  Reference().AssignFromStack();
}

std::unique_ptr<UseLink> CreateUseLink(const windows::UseDescriptor& descriptor,
                                       windows::WindowObject& window) {
  std::uint8_t kind = descriptor.kind;
  if (descriptor.data) {
    // A constant: the reference owns a copy, so nothing the control stores reaches the resource.
    if (!values::IsStorageTypeCode(kind)) return Refuse();
    std::string bytes = *descriptor.data;
    bytes.resize(DeclaredSize(descriptor), '\0');
    auto reference = values::CreateReference(kind, bytes.data(), DeclaredSize(descriptor), 0, true);
    if (!reference) return nullptr;
    return std::make_unique<PlainUseLink>(kind, std::move(reference));
  }
  if (kind == kUseKindRefused) return Refuse();
  void* address = NextUseAddress(window);
  if (address == nullptr) return Refuse();
  if (kind == kUseKindAnyValue || kind == kUseKindAnyRecord) {
    return std::make_unique<PassedReferenceUseLink>(kind, *static_cast<values::ValueReference*>(address));
  }
  if (!values::IsStorageTypeCode(kind)) return Refuse();
  auto reference = values::CreateReference(kind, address, DeclaredSize(descriptor), 0, false);
  if (!reference) return nullptr;
  return std::make_unique<PlainUseLink>(kind, std::move(reference));
}

}  // namespace vel::controls
