// Pure helpers of the exports; see kestrum_pure.h.
#include "kestrum_pure.h"

namespace kestrum {

const std::uint16_t kBitMask[16] = {0x0001, 0x0002, 0x0004, 0x0008, 0x0010, 0x0020,
                                    0x0040, 0x0080, 0x0100, 0x0200, 0x0400, 0x0800,
                                    0x1000, 0x2000, 0x4000, 0x8000};

bool TestBit(const std::uint16_t* words, int n) { return (words[n / 16] & kBitMask[n % 16]) != 0; }

void AssignBit(std::uint16_t* words, int n, bool set) {
  std::uint16_t& word = words[n / 16];
  word = static_cast<std::uint16_t>(set ? word | kBitMask[n % 16] : word & (0xFFFF - kBitMask[n % 16]));
}

int HighestBit(std::uint16_t word) {
  for (int i = 15; i >= 0; --i)
    if (word & kBitMask[i]) return i;
  return -1;
}

int LowestBit(std::uint16_t word) {
  for (int i = 0; i < 16; ++i)
    if (word & kBitMask[i]) return i;
  return -1;
}

std::uint16_t ShiftLeft(std::uint16_t word, int count) {
  return static_cast<std::uint16_t>(static_cast<std::uint32_t>(word) << (count & 31));
}

std::uint16_t ShiftRight(std::uint16_t word, int count) {
  return static_cast<std::uint16_t>(static_cast<std::uint32_t>(word) >> (count & 31));
}

std::int32_t DriveBytes(std::uint32_t bytesPerSector, std::uint32_t sectorsPerCluster,
                        std::uint32_t clusters) {
  constexpr std::uint64_t kMaxKilobytes = 0x1FFFFF;
  const std::uint32_t bytesPerCluster = bytesPerSector * sectorsPerCluster;
  // Small clusters multiply first so that a 512-byte cluster is not lost to
  // the division; large ones divide first, dropping a partial kilobyte.
  std::uint64_t kilobytes =
      bytesPerCluster < 1024
          ? static_cast<std::uint64_t>(bytesPerCluster) * clusters / 1024
          : static_cast<std::uint64_t>(bytesPerCluster / 1024) * clusters;
  if (kilobytes > kMaxKilobytes) kilobytes = kMaxKilobytes;
  return static_cast<std::int32_t>(kilobytes * 1024);
}

// 1 to 4 for the modes that write lines, alone or with the UTF-8 bit; else 0.
static int LineMode(int mode) {
  const int line = mode & ~kListUtf8;
  return (mode == line || mode == (line | kListUtf8)) && line >= kListFilePaths && line <= kListEntryPairs ? line : 0;
}
bool ModeListsFiles(int mode) { return LineMode(mode) != 0; }
bool ModeListsDirectories(int mode) { return LineMode(mode) == kListEntryPaths || LineMode(mode) == kListEntryPairs; }
bool ModeIsUtf8(int mode) { return LineMode(mode) != 0 && (mode & kListUtf8) != 0; }

void AppendListLine(std::string& out, int mode, const std::string& dir, const std::string& name) {
  if (LineMode(mode) == kListFilePaths || LineMode(mode) == kListEntryPaths) {
    out += '"';
    out += dir;
    out += '\\';
    out += name;
    out += "\"\r\n";
  } else {
    out += '"';
    out += dir;
    out += "\", \"";
    out += name;
    out += "\"\r\n";
  }
}

bool ParseHex(const char* text, std::int32_t* value) {
  std::uint32_t result = 0;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    unsigned digit;
    if (*p >= '0' && *p <= '9') digit = *p - '0';
    else if (*p >= 'A' && *p <= 'F') digit = *p - 'A' + 10;
    else if (*p >= 'a' && *p <= 'f') digit = *p - 'a' + 10;
    else {
      *value = 0;
      return false;
    }
    result = result * 16 + digit;  // wraps: only the last eight digits count
  }
  *value = static_cast<std::int32_t>(result);
  return true;
}

int FindByte(int start, const char* text, int byte) {
  if (start < 1) start = 1;
  const char sought = static_cast<char>(byte & 0xFF);
  for (int position = start; text[position - 1] != '\0'; ++position) {
    if (text[position - 1] == sought) return position;
  }
  return 0;
}

std::size_t DirectoryPartLength(const char* pattern, bool (*isLeadByte)(unsigned char)) {
  std::size_t end = 0;
  for (std::size_t i = 0; pattern[i] != '\0'; ++i) {
    const unsigned char c = static_cast<unsigned char>(pattern[i]);
    if (c == '\\') {
      end = i + 1;
    } else if (isLeadByte(c) && pattern[i + 1] != '\0') {
      ++i;  // the trail byte may be 0x5C but is part of the character
    }
  }
  return end;
}

std::uint32_t PriorityClassFor(int code) {
  switch (code) {
    case kPriorityRealtime: return 0x100;  // REALTIME_PRIORITY_CLASS (not HIGH, 0x80)
    case kPriorityIdle: return 0x40;       // IDLE_PRIORITY_CLASS
    default: return 0x20;                  // NORMAL_PRIORITY_CLASS
  }
}

const char* FaceNameFor(int code) {
  switch (code) {
    case kFaceTerminal: return "Terminal";
    case kFaceMincho: return "\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9";                  // ＭＳ 明朝
    case kFaceGothic: return "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";  // ＭＳ ゴシック
    default: return "System";
  }
}

std::size_t TipLength(const char* tip, bool (*isLeadByte)(unsigned char)) {
  constexpr std::size_t kMaxTip = 63;
  std::size_t length = 0;
  while (tip[length] != '\0' && length < kMaxTip) {
    const bool lead = isLeadByte(static_cast<unsigned char>(tip[length]));
    const std::size_t width = lead && tip[length + 1] != '\0' ? 2 : 1;
    if (length + width > kMaxTip) break;  // would split the character
    length += width;
  }
  return length;
}

bool IsShiftJisLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

}  // namespace kestrum
