// KESTRUM's pure helpers on arbitrary bytes: hexadecimal text, list lines,
// the directory part of a pattern, the tray tip cut and the drive size
// arithmetic.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "kestrum_pure.h"

using zefta::fuzz::ByteReader;

namespace {

// Only the last eight digits count; anything but a digit fails with 0.
void CheckHex(const std::string& text) {
  std::int32_t value = 12345;
  const bool ok = kestrum::ParseHex(text.c_str(), &value);
  const std::size_t length = std::strlen(text.c_str());
  FUZZ_CHECK(ok == (std::strspn(text.c_str(), "0123456789abcdefABCDEF") == length));
  const char* tail = text.c_str() + (length > 8 ? length - 8 : 0);
  FUZZ_CHECK(static_cast<std::uint32_t>(value) == (ok && *tail ? std::strtoul(tail, nullptr, 16) : 0));
}

// Appended to what is there, in the line form of the mode.
void CheckListLine(int mode, const std::string& dir, const std::string& name) {
  std::string out = "kept";
  kestrum::AppendListLine(out, mode, dir, name.c_str());
  const bool paths = mode == 1 || mode == 3;
  FUZZ_CHECK(out == "kept\"" + dir + (paths ? "\\" : "\", \"") + name + "\"\r\n");
}

// The directory part ends with a "\" that is no trail byte; in plain ASCII, at the last one.
void CheckDirectoryPart(const char* pattern) {
  const std::size_t part = kestrum::DirectoryPartLength(pattern, kestrum::IsShiftJisLeadByte);
  const char* last = std::strrchr(pattern, '\\');
  FUZZ_CHECK(part <= std::strlen(pattern) && (part == 0 || pattern[part - 1] == '\\') && (last || part == 0));
  bool ascii = true;
  for (const char* p = pattern; *p; ++p) ascii = ascii && static_cast<unsigned char>(*p) < 0x80;
  if (ascii) FUZZ_CHECK(part == (last ? static_cast<std::size_t>(last - pattern) + 1 : 0));
}

void CheckTip(const char* text) {
  const std::size_t length = std::strlen(text);
  const std::size_t tip = kestrum::TipLength(text, kestrum::IsShiftJisLeadByte);
  FUZZ_CHECK(length <= 63 ? tip == length : tip == 62 || tip == 63);
}

// Whole kilobytes, below 2 GiB, never more than the drive holds.
void CheckDriveBytes(ByteReader& in) {
  const std::uint32_t sector = in.Word() | in.Word() << 16, cluster = in.Word() | in.Word() << 16,
                      clusters = in.Word() | in.Word() << 16;
  const std::int32_t bytes = kestrum::DriveBytes(sector, cluster, clusters);
  FUZZ_CHECK(bytes >= 0 && bytes % 1024 == 0 && bytes <= 0x1FFFFF * 1024);
  FUZZ_CHECK(static_cast<unsigned __int128>(bytes) <= static_cast<unsigned __int128>(sector) * cluster * clusters);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ByteReader in(data, size);
  switch (in.Byte() % 6) {
    case 0: CheckHex(std::string(in.Rest())); break;
    case 2: {
      const int mode = in.Byte() % 6, split = in.Byte();
      const std::string rest(in.Rest());
      const std::size_t at = rest.empty() ? 0 : split % (rest.size() + 1);
      CheckListLine(mode, rest.substr(0, at).c_str(), rest.substr(at).c_str());
      break;
    }
    case 3: CheckDirectoryPart(std::string(in.Rest()).c_str()); break;
    case 4: CheckTip(std::string(in.Rest()).c_str()); break;
    case 5: CheckDriveBytes(in); break;
  }
  return 0;
}
