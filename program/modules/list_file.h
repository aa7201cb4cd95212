// Reading the list file that the tree listing of KESTRUM writes: one line per
// entry, "DIR", "NAME" followed by CR LF, in UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zefta {

// One line of the list file as bytes: the directory holding the entry and the
// entry's own name, both without their quotes. Views into the parsed bytes.
struct ListFileFields {
  std::string_view directory;
  std::string_view name;
};

// One entry of the list file as text.
struct ListFileRecord {
  std::u16string directory;
  std::u16string name;
};

// Splits the bytes into records. A record is one line of two quoted fields
// separated by a comma, with spaces or tabs allowed around the fields; the
// line ends with CR LF, a lone LF, or the end of the data. A line of any other
// shape (a missing quote, one field, a third field, text outside the quotes,
// an empty field) is skipped whole: it cannot be trusted to name the entry it
// was meant for, and a line never spills into the next one.
std::vector<ListFileFields> ParseListFileFields(std::string_view bytes);

// ParseListFileFields, then each field read as UTF-8. Records whose text
// cannot name an entry are skipped as well: a field that is not UTF-8, a name
// holding a path separator, a drive colon, a wildcard or a control character,
// a name "." or "..", a directory holding a control character or a wildcard.
std::vector<ListFileRecord> ReadListFile(std::string_view bytes);

// The entry's full path: directory, "\", name.
std::u16string ListFilePath(const ListFileRecord& record);

}  // namespace zefta
