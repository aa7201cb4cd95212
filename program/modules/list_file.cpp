#include "modules/list_file.h"

#include <optional>

#include "modules/utf8.h"

namespace zefta {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Parses one line (without its line end); nullopt when it is not exactly
// two non-empty quoted fields separated by a comma.
std::optional<ListFileFields> ParseLine(std::string_view line) {
  std::size_t pos = 0;
  const auto skipBlanks = [&] {
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
  };
  const auto quotedField = [&]() -> std::optional<std::string_view> {
    skipBlanks();
    if (pos >= line.size() || line[pos] != '"') return std::nullopt;
    const std::size_t close = line.find('"', pos + 1);
    if (close == std::string_view::npos) return std::nullopt;
    const std::string_view value = line.substr(pos + 1, close - pos - 1);
    pos = close + 1;
    if (value.empty()) return std::nullopt;
    return value;
  };

  const auto directory = quotedField();
  if (!directory) return std::nullopt;
  skipBlanks();
  if (pos >= line.size() || line[pos] != ',') return std::nullopt;
  ++pos;
  const auto name = quotedField();
  if (!name) return std::nullopt;
  skipBlanks();
  if (pos != line.size()) return std::nullopt;
  return ListFileFields{*directory, *name};
}

bool HasControl(std::u16string_view text) {
  for (char16_t c : text)
    if (c < 0x20) return true;
  return false;
}

bool ValidName(std::u16string_view name) {
  if (name.empty() || name == u"." || name == u"..") return false;
  if (HasControl(name)) return false;
  return name.find_first_of(u"\\/:*?\"<>|") == std::u16string_view::npos;
}

bool ValidDirectory(std::u16string_view directory) {
  if (directory.empty() || HasControl(directory)) return false;
  return directory.find_first_of(u"*?\"<>|") == std::u16string_view::npos;
}

}  // namespace

std::vector<ListFileFields> ParseListFileFields(std::string_view bytes) {
  std::vector<ListFileFields> records;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    const std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (auto record = ParseLine(line)) records.push_back(*record);
    start = next;
  }
  return records;
}

std::vector<ListFileRecord> ReadListFile(std::string_view bytes) {
  std::vector<ListFileRecord> records;
  for (const ListFileFields& fields : ParseListFileFields(bytes)) {
    auto directory = FromUtf8(fields.directory), name = FromUtf8(fields.name);
    if (directory && name && ValidDirectory(*directory) && ValidName(*name))
      records.push_back({std::move(*directory), std::move(*name)});
  }
  return records;
}

std::u16string ListFilePath(const ListFileRecord& record) { return record.directory + u"\\" + record.name; }

}  // namespace zefta
