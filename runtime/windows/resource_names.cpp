#include "runtime/windows/resource_names.h"

namespace vel::windows {

std::string_view ModuleNameOf(std::string_view qualifiedName) {
  std::size_t dollar = qualifiedName.find('$');
  if (dollar == std::string_view::npos) return qualifiedName;
  return qualifiedName.substr(dollar + 1);
}

std::string DefinitionResourceName(std::string_view qualifiedName) {
  std::string name(ModuleNameOf(qualifiedName));
  name += "_RSC";
  return name;
}

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

std::string ProgramResourceName(std::string_view text) {
  if (!text.empty() && text.front() == '~') text.remove_prefix(1);
  std::string name = UpperCase(text);
  for (char& c : name) {
    if (c == '.') c = '_';
  }
  return name;
}

ResourceRequest RequestFor(const ResourceName& resourceName) {
  ResourceRequest request;
  switch (resourceName.form) {
    case ResourceName::Form::Stock:
      request.stock = true;
      request.byIdentifier = true;
      request.identifier = resourceName.identifier;
      break;
    case ResourceName::Form::ProgramId:
      request.byIdentifier = true;
      request.identifier = resourceName.identifier;
      break;
    case ResourceName::Form::Text: request.name = ProgramResourceName(resourceName.text); break;
  }
  return request;
}

}  // namespace vel::windows
