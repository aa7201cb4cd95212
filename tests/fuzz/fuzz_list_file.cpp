// The list-file reader on arbitrary bytes: never a crash, every record two
// non-empty fields on one line, every record written back in the library's
// pair form reads back as itself, and UTF-8 read back is written as the same bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "modules/list_file.h"
#include "modules/utf8.h"

using namespace zefta;

namespace {

bool Within(std::string_view part, std::string_view whole) {
  return part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size();
}

bool HasControl(std::u16string_view text) {
  return std::any_of(text.begin(), text.end(), [](char16_t c) { return c < 0x20; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto fields = ParseListFileFields(bytes);
  // At most one record per line.
  FUZZ_CHECK(fields.size() <= static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);

  std::string rewritten;
  for (const ListFileFields& f : fields) {
    FUZZ_CHECK(!f.directory.empty() && !f.name.empty());
    FUZZ_CHECK(Within(f.directory, bytes) && Within(f.name, bytes));
    FUZZ_CHECK(f.directory.find_first_of("\n\"") == std::string_view::npos);
    FUZZ_CHECK(f.name.find_first_of("\n\"") == std::string_view::npos);
    rewritten += "\"" + std::string(f.directory) + "\", \"" + std::string(f.name) + "\"\r\n";
  }
  const auto again = ParseListFileFields(rewritten);
  FUZZ_CHECK(again.size() == fields.size());
  for (std::size_t i = 0; i < fields.size(); ++i) {
    FUZZ_CHECK(again[i].directory == fields[i].directory);
    FUZZ_CHECK(again[i].name == fields[i].name);
  }

  if (const auto text = FromUtf8(bytes)) FUZZ_CHECK(ToUtf8(*text) == std::string(bytes));

  const auto records = ReadListFile(bytes);
  FUZZ_CHECK(records.size() <= fields.size());
  for (const ListFileRecord& r : records) {
    FUZZ_CHECK(!r.directory.empty() && !r.name.empty());
    FUZZ_CHECK(!HasControl(r.directory) && !HasControl(r.name));
    // The name is one entry's own name: it cannot lead the rename elsewhere.
    FUZZ_CHECK(r.name.find_first_of(u"\\/:") == std::u16string::npos);
    FUZZ_CHECK(r.name != u"." && r.name != u"..");
    FUZZ_CHECK(ListFilePath(r) == r.directory + u"\\" + r.name);
  }
  return 0;
}
