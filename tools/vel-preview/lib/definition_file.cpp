#include "tools/vel-preview/lib/definition_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unordered_set>

#include "runtime/windows/current_definition.h"
#include "runtime/windows/definition_record.h"
#include "tools/vel-preview/lib/preview_error.h"
#include "tools/vel-wdc/lib/declaration_syntax.h"
#include "tools/vel-wdc/lib/declaration_text.h"
#include "tools/vel-wdc/lib/definition_writer.h"

namespace vel::tools {
namespace {

using windows::DefinitionView;

// A window definition takes a few kilobytes; a file this large is some other file, and reading
// every record of it would take memory for nothing.
constexpr std::size_t kLargestFile = 2u << 20;
constexpr std::uint32_t kFirstRecordField = 2;

[[noreturn]] void Fail(const std::string& path, const std::string& problem) {
  throw PreviewError(path + ": " + problem);
}

std::string Hex(std::uint32_t offset) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(offset));
  return text;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) Fail(path, std::string("cannot read it (") + std::strerror(errno) + ")");
  std::vector<std::uint8_t> bytes;
  std::uint8_t buffer[1 << 16];
  std::size_t count = 0;
  while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
    bytes.insert(bytes.end(), buffer, buffer + count);
    if (bytes.size() > kLargestFile) Fail(path, "too large to be a window definition");
  }
  if (std::ferror(file.get())) Fail(path, std::string("cannot read it (") + std::strerror(errno) + ")");
  return bytes;
}

std::vector<std::uint8_t> CompileDeclarations(const std::string& path,
                                              const std::vector<std::uint8_t>& text) {
  try {
    return WriteDefinitionResource(
        ParseDeclarations(std::string_view(reinterpret_cast<const char*>(text.data()), text.size())));
  } catch (const DeclarationError& error) {
    Fail(path, error.what());
  }
}

// The labels of the chain of window and report records that starts at body offset 2, walked
// as the runtime walks it when it looks a window up.
std::vector<std::string> WindowLabels(const std::string& path, const DefinitionView& body) {
  std::vector<std::string> labels;
  std::unordered_set<std::uint32_t> seen;
  std::uint32_t offset = windows::ReadOffsetField(body, kFirstRecordField);
  while (offset != 0) {
    if (!seen.insert(offset).second)
      Fail(path, "damaged: the chain of windows loops back at offset " + Hex(offset));
    std::optional<std::uint8_t> kind = body.ReadUInt8(offset);
    std::optional<windows::Record> record;
    if (kind == windows::kKindWindow) {
      record = windows::ReadRecord(body, offset);
    } else if (kind == windows::kKindReport) {
      // Reports are not windows; only their link to the next record is read.
      record = windows::Record{};
      record->next = windows::ReadOffsetField(body, offset + 1);
    }
    if (!record) Fail(path, "damaged: the chain of windows breaks at offset " + Hex(offset));
    if (kind == windows::kKindWindow) labels.push_back(record->label.value_or(std::string()));
    offset = record->next;
  }
  if (labels.empty()) Fail(path, "holds no window definition");
  return labels;
}

}  // namespace

DefinitionFile ReadDefinitionBytes(const std::string& path, std::vector<std::uint8_t> resource) {
  const void* zero = resource.empty() ? nullptr : std::memchr(resource.data(), 0, resource.size());
  if (zero == nullptr) Fail(path, "not a window definition: it does not begin with a qualified name");
  DefinitionFile file;
  file.path = path;
  file.qualifiedName.assign(reinterpret_cast<const char*>(resource.data()),
                            static_cast<const std::uint8_t*>(zero) - resource.data());
  file.resource = std::move(resource);
  std::vector<std::uint8_t> body = windows::CopyDefinitionBody(file.resource, file.qualifiedName);
  file.labels = WindowLabels(path, DefinitionView(body));
  return file;
}

DefinitionFile LoadDefinitionFile(const std::string& path) {
  std::vector<std::uint8_t> bytes = ReadWholeFile(path);
  bool compiled = !bytes.empty() && std::memchr(bytes.data(), 0, bytes.size()) != nullptr;
  return ReadDefinitionBytes(path, compiled ? std::move(bytes) : CompileDeclarations(path, bytes));
}

ChosenWindow ChooseWindow(const DefinitionFile& file, const std::optional<std::string>& label) {
  ChosenWindow chosen;
  if (label) {
    bool present = false;
    std::string known;
    for (const std::string& each : file.labels) {
      if (each.empty()) continue;
      present = present || each == *label;
      known += (known.empty() ? "" : ", ") + Quoted(each);
    }
    if (!present) {
      Fail(file.path,
           "no window labelled " + Quoted(*label) +
               (known.empty() ? " (none of its windows has a label)" : " (its windows: " + known + ")"));
    }
    chosen.label = *label;
  } else {
    chosen.label = file.labels.front();
    if (chosen.label.empty()) Fail(file.path, "its first window has no label to open it by");
  }

  std::vector<std::uint8_t> body = windows::CopyDefinitionBody(file.resource, file.qualifiedName);
  DefinitionView view(body);
  std::optional<windows::Record> window =
      windows::ReadRecord(view, windows::FindWindowRecord(view, chosen.label));
  if (!window) Fail(file.path, "damaged: the window " + Quoted(chosen.label) + " cannot be read");
  windows::OrderedRecords records = windows::RecordsInOpeningOrder(view, *window);
  if (!records.brokenLinks.empty()) {
    Fail(file.path, "damaged: the window " + Quoted(chosen.label) + " links to offset " +
                        Hex(records.brokenLinks.front()) + ", where no record can be read");
  }
  chosen.bindings = windows::UseBindingsOf(records);
  return chosen;
}

}  // namespace vel::tools
