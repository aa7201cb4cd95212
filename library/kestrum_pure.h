// The pure helpers behind the exports: no system calls and no Windows
// headers, so the library's tests and the host's fuzzers can drive them.
// Not exported from the DLL.
#ifndef KESTRUM_PURE_H
#define KESTRUM_PURE_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace kestrum {

// The codes callers pass, as kestrum.h names them (KESTRUM_LIST_*,
// KESTRUM_PRIORITY_*, KESTRUM_FACE_*); that header brings the Windows
// headers, so the names are repeated here and twins.cpp checks that both
// agree.
enum ListMode : int { kListFilePaths = 1, kListFilePairs = 2, kListEntryPaths = 3, kListEntryPairs = 4 };
enum PriorityCode : int { kPriorityNormal = 0, kPriorityRealtime = 1, kPriorityIdle = 2 };
enum FaceCode : int { kFaceSystem = 0, kFaceTerminal = 1, kFaceMincho = 16, kFaceGothic = 17 };

// Longest path, NUL included, that the ANSI file functions accept.
constexpr std::size_t kMaxAnsiPath = 260;

// 1 << i for i = 0..15; the bit functions take their masks from here.
extern const std::uint16_t kBitMask[16];

// Bit n of an array of 16-bit words is bit n % 16 of word n / 16 (signed
// division: n below 0 is the caller's fault).
bool TestBit(const std::uint16_t* words, int n);
void AssignBit(std::uint16_t* words, int n, bool set);
// The number of the highest or lowest set bit of word; -1 for a word of 0.
int HighestBit(std::uint16_t word);
int LowestBit(std::uint16_t word);
// word shifted by count modulo 32 (logical); 16 places or more give 0.
std::uint16_t ShiftLeft(std::uint16_t word, int count);
std::uint16_t ShiftRight(std::uint16_t word, int count);

// Drive size in bytes from GetDiskFreeSpaceA's figures: whole kilobytes,
// capped at 2,097,151 KiB so that the bytes fit a signed 32-bit integer.
std::int32_t DriveBytes(std::uint32_t bytesPerSector, std::uint32_t sectorsPerCluster,
                        std::uint32_t clusters);

// List modes of MakeDirFileList_: 1 to 4, each also with the UTF-8 bit;
// any other value lists nothing and takes ANSI text.
constexpr int kListUtf8 = 0x100;
bool ModeListsFiles(int mode);
bool ModeListsDirectories(int mode);
bool ModeIsUtf8(int mode);
// Appends the list line of entry `name` in directory `dir` for `mode` (a
// path line for the *_PATHS modes, else a pair line) with its CR LF.
void AppendListLine(std::string& out, int mode, const std::string& dir, const std::string& name);

// htol_: hexadecimal digits only, the low 32 bits of the value.
bool ParseHex(const char* text, std::int32_t* value);

// InStrB_: 1-based position of `byte` at or after `start`, or 0.
int FindByte(int start, const char* text, int byte);

// Length of the directory part of a wildcard pattern (up to and including its
// last backslash), or 0 when there is none. A byte for which isLeadByte is true
// starts a double-byte character, whose trail byte is never a separator.
std::size_t DirectoryPartLength(const char* pattern, bool (*isLeadByte)(unsigned char));

// CreateProc_: priority code to creation flag.
std::uint32_t PriorityClassFor(int code);

// FontInitial_: face code to face name in the ANSI code page (Shift-JIS).
const char* FaceNameFor(int code);

// Tray tip: how many bytes of `tip` fit a 64-byte field with its NUL, never
// ending on the lead byte of a cut double-byte character.
std::size_t TipLength(const char* tip, bool (*isLeadByte)(unsigned char));

// Lead bytes of code page 932 (Shift-JIS), the system code page of the
// target machines: a stand-in for IsDBCSLeadByte where Windows is absent.
bool IsShiftJisLeadByte(unsigned char c);

}  // namespace kestrum

#endif
