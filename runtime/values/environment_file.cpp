#include "runtime/values/environment_file.h"

namespace vel::values {
namespace {

constexpr char kEndOfFileMark = 26;

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

bool IsDigitChar(char c) { return c >= '0' && c <= '9'; }

// Reads the key up to "=": blanks inside it are ignored, a control character ends it, and only
// the first 31 characters are kept. Returns the position of "=" or `end` when there is none.
size_t ReadKey(const char* line, size_t end, std::string& key) {
  bool ended = false;
  for (size_t i = 0; i < end; ++i) {
    const char c = line[i];
    if (c == '=') return i;
    if (ended || c == ' ') continue;
    if (static_cast<unsigned char>(c) < 32) {
      ended = true;
      continue;
    }
    if (key.size() < kMaxEnvironmentKey) key += c;
  }
  return end;
}

// Reads a quoted text starting at the opening quote; returns the index after the closing one.
size_t ReadQuoted(const std::string& value, size_t at, std::string& item) {
  ++at;
  while (at < value.size()) {
    if (value[at] == '"') {
      if (at + 1 < value.size() && value[at + 1] == '"') {
        item += '"';
        at += 2;
        continue;
      }
      return at + 1;
    }
    item += value[at++];
  }
  return at;
}

bool WhollyQuoted(const std::string& value) {
  if (value.size() < 2 || value.front() != '"') return false;
  std::string inner;
  return ReadQuoted(value, 0, inner) == value.size();
}

}  // namespace

std::vector<EnvironmentLine> ParseEnvironmentText(const char* data, size_t size) {
  std::vector<EnvironmentLine> lines;
  size_t at = 0;
  while (at < size && data[at] != kEndOfFileMark) {
    size_t end = at;
    while (end < size && !IsLineEnd(data[end]) && data[end] != kEndOfFileMark) ++end;
    EnvironmentLine line;
    const size_t equals = ReadKey(data + at, end - at, line.key);
    if (equals < end - at && !line.key.empty()) {
      size_t valueStart = at + equals + 1;
      // Blanks between "=" and the value only separate them.
      while (valueStart < end && (data[valueStart] == ' ' || data[valueStart] == '\t')) ++valueStart;
      size_t valueLength = end - valueStart;
      if (valueLength > kMaxEnvironmentValue) valueLength = kMaxEnvironmentValue;
      line.value = DecodeEnvironmentValue(data + valueStart, valueLength);
      lines.push_back(std::move(line));
    }
    at = end;
    while (at < size && IsLineEnd(data[at])) ++at;
  }
  return lines;
}

std::string DecodeEnvironmentValue(const char* raw, size_t length) {
  while (length > 0 && (raw[length - 1] == ' ' || raw[length - 1] == '\t')) --length;
  std::string value;
  value.reserve(length);
  for (size_t i = 0; i < length; ++i) {
    const char c = raw[i];
    if (c != '<' || i + 1 >= length) {
      value += c;
      continue;
    }
    if (raw[i + 1] == '<') {
      value += '<';
      ++i;
      continue;
    }
    if (!IsDigitChar(raw[i + 1])) {
      value += c;
      continue;
    }
    unsigned code = 0;
    size_t j = i + 1;
    while (j < length && IsDigitChar(raw[j])) {
      if (code < 1000) code = code * 10 + static_cast<unsigned>(raw[j] - '0');
      ++j;
    }
    // Codes beyond a byte name no character and are dropped.
    if (code <= 255) value += static_cast<char>(code);
    i = j < length ? j : length - 1;  // the character after the digits is consumed
  }
  return value;
}

std::vector<std::string> SplitEnvironmentItems(const std::string& value) {
  std::vector<std::string> items;
  size_t at = 0;
  while (at < value.size()) {
    while (at < value.size() && (value[at] == ' ' || value[at] == ',' || value[at] == '\t')) ++at;
    if (at >= value.size()) break;
    std::string item;
    if (value[at] == '"') {
      at = ReadQuoted(value, at, item);
    } else {
      while (at < value.size() && value[at] != ' ' && value[at] != ',' && value[at] != '\t') {
        item += value[at++];
      }
    }
    items.push_back(std::move(item));
  }
  return items;
}

std::string EnvironmentText(const std::string& value) {
  if (!WhollyQuoted(value)) return value;
  std::string inner;
  ReadQuoted(value, 0, inner);
  return inner;
}

}  // namespace vel::values
