// KESTRUM's pure helpers on arbitrary bytes: hexadecimal text, byte search,
// list lines (read back by the program's list-file reader), the directory
// part of a pattern, the tray tip cut and the drive size arithmetic.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "kestrum_pure.h"
#include "modules/list_file.h"

using zefta::fuzz::ByteReader;

namespace {

bool IsHexDigit(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

void CheckHex(const std::string& text) {
  std::int32_t value = 12345;
  const bool ok = kestrum::ParseHex(text.c_str(), &value);
  const char* s = text.c_str();
  bool allHex = true;
  for (const char* p = s; *p; ++p) allHex = allHex && IsHexDigit(static_cast<unsigned char>(*p));
  FUZZ_CHECK(ok == allHex);
  if (!ok) {
    FUZZ_CHECK(value == 0);
    return;
  }
  // Only the last eight digits count.
  const std::size_t length = std::strlen(s);
  const char* tail = s + (length > 8 ? length - 8 : 0);
  const auto expected = static_cast<std::uint32_t>(*tail ? std::strtoul(tail, nullptr, 16) : 0);
  FUZZ_CHECK(static_cast<std::uint32_t>(value) == expected);
}

void CheckFindByte(ByteReader& in, const std::string& text) {
  const int length = static_cast<int>(std::strlen(text.c_str()));
  // The caller keeps start within the text plus one; below 1 counts as 1.
  const int start = static_cast<int>(in.Byte() % (length + 3)) - 1;
  const int byte = static_cast<int>(in.Word()) - 0x100;
  const int position = kestrum::FindByte(start, text.c_str(), byte);
  const char sought = static_cast<char>(byte & 0xFF);
  const int from = start < 1 ? 1 : start;
  if (position == 0) {
    for (int i = from; i <= length; ++i) FUZZ_CHECK(text[i - 1] != sought);
  } else {
    FUZZ_CHECK(position >= from && position <= length);
    FUZZ_CHECK(text[position - 1] == sought);
    for (int i = from; i < position; ++i) FUZZ_CHECK(text[i - 1] != sought);
  }
}

void CheckListLine(ByteReader& in, const std::string& rest) {
  const int mode = in.Byte() % 6;
  const std::size_t split = rest.empty() ? 0 : in.Byte() % (rest.size() + 1);
  const std::string dir = std::string(rest.substr(0, split).c_str());
  const std::string name = std::string(rest.substr(split).c_str());
  std::string out = "kept";
  kestrum::AppendListLine(out, mode, dir, name.c_str());
  FUZZ_CHECK(out.compare(0, 4, "kept") == 0);
  const std::string line = out.substr(4);
  FUZZ_CHECK(line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0);
  if (mode == 1 || mode == 3) {
    FUZZ_CHECK(line == "\"" + dir + "\\" + name + "\"\r\n");
    return;
  }
  // The pair line is what the program reads back: the same two fields,
  // whenever they are fit to be read (no quote, no line end, not empty).
  // Names with a quote or a line end do not occur: the file systems refuse
  // them (Wine shows such Linux names as mangled short names).
  const bool readable = !dir.empty() && !name.empty() && dir.find_first_of("\"\n") == std::string::npos &&
                        name.find_first_of("\"\n") == std::string::npos;
  const auto fields = zefta::ParseListFileFields(line);
  if (readable) {
    FUZZ_CHECK(fields.size() == 1);
    FUZZ_CHECK(fields[0].directory == dir && fields[0].name == name);
  }
}

void CheckDirectoryPart(const std::string& text) {
  const char* pattern = text.c_str();
  const std::size_t length = std::strlen(pattern);
  const std::size_t part = kestrum::DirectoryPartLength(pattern, kestrum::IsShiftJisLeadByte);
  FUZZ_CHECK(part <= length);
  if (part != 0) FUZZ_CHECK(pattern[part - 1] == '\\');
  const char* last = std::strrchr(pattern, '\\');
  if (last == nullptr) FUZZ_CHECK(part == 0);
  bool ascii = true;
  for (const char* p = pattern; *p; ++p) ascii = ascii && static_cast<unsigned char>(*p) < 0x80;
  if (ascii) FUZZ_CHECK(part == (last == nullptr ? 0 : static_cast<std::size_t>(last - pattern) + 1));
}

void CheckTip(const std::string& text) {
  const std::size_t length = std::strlen(text.c_str());
  const std::size_t tip = kestrum::TipLength(text.c_str(), kestrum::IsShiftJisLeadByte);
  FUZZ_CHECK(tip <= 63 && tip <= length);
  if (length <= 63) FUZZ_CHECK(tip == length);
  else FUZZ_CHECK(tip >= 62);
}

void CheckDriveBytes(ByteReader& in) {
  const std::uint32_t sector = in.Word() | static_cast<std::uint32_t>(in.Word()) << 16;
  const std::uint32_t cluster = in.Word() | static_cast<std::uint32_t>(in.Word()) << 16;
  const std::uint32_t clusters = in.Word() | static_cast<std::uint32_t>(in.Word()) << 16;
  const std::int32_t bytes = kestrum::DriveBytes(sector, cluster, clusters);
  FUZZ_CHECK(bytes >= 0 && bytes % 1024 == 0 && bytes <= 0x1FFFFF * 1024);
  // Never more than the drive holds.
  const unsigned __int128 total = static_cast<unsigned __int128>(sector) * cluster * clusters;
  FUZZ_CHECK(static_cast<unsigned __int128>(bytes) <= total);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ByteReader in(data, size);
  const std::uint8_t which = in.Byte();
  switch (which % 6) {
    case 0: CheckHex(std::string(in.Rest())); break;
    case 1: {
      const std::uint8_t a = in.Byte(), b = in.Byte(), c = in.Byte();
      const std::uint8_t header[] = {a, b, c};
      ByteReader args(header, sizeof header);
      CheckFindByte(args, std::string(in.Rest()));
      break;
    }
    case 2: {
      const std::uint8_t a = in.Byte(), b = in.Byte();
      const std::uint8_t header[] = {a, b};
      ByteReader args(header, sizeof header);
      CheckListLine(args, std::string(in.Rest()));
      break;
    }
    case 3: CheckDirectoryPart(std::string(in.Rest())); break;
    case 4: CheckTip(std::string(in.Rest())); break;
    case 5: CheckDriveBytes(in); break;
  }
  return 0;
}
