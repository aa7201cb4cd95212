// KESTRUM.DLL's exports on the system under Wine, code page 932: one test per
// family that calls the system, and on x86 the calling conventions. The
// arithmetic and text handling behind them are the native tests'
// (tests/native/kestrum_pure_test.cpp).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "kestrum.h"
#include "kestrum_pure.h"

namespace {

std::string Pair(const std::string& dir, const std::string& name) { return "\"" + dir + "\", \"" + name + "\"\r\n"; }

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The native tests and the fuzzers take Shift-JIS lead bytes from a table of
// their own; it must agree with the system's.
TEST(KestrumLeadBytes, TheStandInAgreesWithCodePage932) {
  for (int c = 0; c < 256; ++c)
    EXPECT_EQ(kestrum::IsShiftJisLeadByte(static_cast<unsigned char>(c)), IsDBCSLeadByteEx(932, BYTE(c)) != FALSE) << c;
}

TEST(KestrumDirList, ListsTheTreeDepthFirstInShiftJisWithoutEnteringDirectoryLinks) {
  ASSERT_EQ(GetACP(), 932u);
  const std::string hyo = "\x95\x5C";  // 表: its trail byte is a backslash
  const std::string dir = std::string(std::getenv("TEMP")) + "\\kestrum-list", t = dir + "\\T", list = dir + "\\ZEFTA.TMP";
  std::filesystem::remove_all(dir);
  for (const std::string& folder : {dir, t, t + "\\" + hyo}) CreateDirectoryA(folder.c_str(), nullptr);
  for (const std::string& file : {t + "\\A.TXT", t + "\\" + hyo + "\\\x83\x5C.txt", list}) std::ofstream(file) << "x";
  const std::string subtree = Pair(t, hyo) + Pair(t + "\\" + hyo, "\x83\x5C.txt");
  EXPECT_EQ(MakeDirFileListB_(4, t.c_str(), list.c_str()), 2);
  EXPECT_TRUE(Bytes(list) == Pair(t, "A.TXT") + subtree || Bytes(list) == subtree + Pair(t, "A.TXT")) << Bytes(list);
  EXPECT_EQ(MakeDirFileList_(4, (t + "\\none").c_str(), list.c_str()), 0);
  EXPECT_EQ(Bytes(list), "") << "a missing directory leaves an empty list";

  // links (see run_library_tests.sh): f.txt, real\inner.txt, link -> real, loop -> links.
  const char* prepared = std::getenv("KESTRUM_PREPARED_DIR");
  ASSERT_TRUE(prepared) << "run through run_library_tests.sh";
  const std::string links = std::string(prepared) + "\\links";
  EXPECT_EQ(MakeDirFileList_(4, links.c_str(), list.c_str()), 2);
  std::size_t length = 0;
  for (const std::string& line : {Pair(links, "f.txt"), Pair(links, "link"), Pair(links, "loop"), Pair(links, "real"),
                                  Pair(links + "\\real", "inner.txt")}) {
    EXPECT_NE(Bytes(list).find(line), std::string::npos) << line;
    length += line.size();
  }
  EXPECT_EQ(Bytes(list).size(), length) << "nothing else, nothing twice";
  std::filesystem::remove_all(dir);
}

// The one export that deletes: matching files of that folder only, in a
// folder whose name ends in the byte of a backslash.
TEST(KestrumFileDelete, DeletesTheMatchingFilesOfThatFolderOnly) {
  const std::string base = std::string(std::getenv("TEMP")) + "\\kestrum-delete", dir = base + "\\\x95\x5C";
  std::filesystem::remove_all(base);
  CreateDirectoryA(base.c_str(), nullptr);
  CreateDirectoryA(dir.c_str(), nullptr);
  CreateDirectoryA((dir + "\\sub.tmp").c_str(), nullptr);
  for (const char* name : {"\\a.tmp", "\\b.TMP", "\\keep.txt", "\\sub.tmp\\c.tmp"}) std::ofstream(dir + name) << "x";
  EXPECT_EQ(FileDelete_("*.tmp"), 0) << "no folder part";
  EXPECT_EQ(FileDelete_((dir + "\\*.tmp").c_str()), 1);
  for (const char* name : {"\\a.tmp", "\\b.TMP", "\\keep.txt", "\\sub.tmp", "\\sub.tmp\\c.tmp"})
    EXPECT_EQ(GetFileAttributesA((dir + name).c_str()) != INVALID_FILE_ATTRIBUTES, name[1] != 'a' && name[1] != 'b') << name;
  EXPECT_EQ(FileDelete_((dir + "\\none*.x").c_str()), 0);
  std::filesystem::remove_all(base);
}

TEST(KestrumSharedMemory, RecordsWrittenUnderOneHandleAreReadUnderAnotherUntilTheLastCloses) {
  const std::string name = "kestrum-test-" + std::to_string(GetCurrentProcessId());
  HANDLE first = nullptr, second = nullptr;
  void *firstView = nullptr, *secondView = nullptr;
  ASSERT_EQ(MappingCreate_(name.c_str(), 64, &first, &firstView), 1);
  ASSERT_EQ(MappingOpenB_(name.c_str(), &second, &secondView), 1);
  const char record[16] = "record three";
  char copy[16] = {};
  EXPECT_EQ(MappingWrite_(firstView, record, 3, 16), 1);
  EXPECT_STREQ(static_cast<char*>(secondView) + 32, record) << "record 3 of 16 bytes starts at byte 32";
  EXPECT_EQ(MappingReadB_(secondView, copy, 3, 16), 1);
  EXPECT_STREQ(copy, record);
  EXPECT_EQ(MappingClose_(&second, &secondView), 1);
  EXPECT_TRUE(second == nullptr && secondView == nullptr);
  EXPECT_EQ(MappingClose_(&first, &firstView), 1);
  EXPECT_EQ(MappingOpen_(name.c_str(), &second, &secondView), 0) << "gone with its last handle";
}

TEST(KestrumSystem, DriveFiguresAndNamesComeFromTheSystemAndTheTwinsWriteThroughTheirVariables) {
  char plain[64] = {}, twin[64] = {}, *address = twin;
  int total = 0, free = 0;
  EXPECT_EQ(DriveType_("C:\\"), static_cast<UINT>(DRIVE_FIXED));
  EXPECT_EQ(DriveFileSystem_("C:\\", plain) + DriveFileSystemB_("C:\\", &address), 2);
  EXPECT_STRNE(plain, "");
  EXPECT_STREQ(twin, plain) << "the twin writes where its variable points";
  EXPECT_EQ(DriveTotalSpace_("C:\\", &total) + DriveFreeSpaceB_("C:\\", &free), 2);
  EXPECT_TRUE(total > 0 && total % 1024 == 0 && free % 1024 == 0 && free <= total) << total << " " << free;
  EXPECT_EQ(DriveVolumeName_("Q:\\", plain), 1);
  EXPECT_STREQ(plain, "") << "a drive that is not there has no name";
}

// On x86 each export must remove exactly the arguments of its convention: the
// stdcall twins 4 bytes per argument, the cdecl forms none. Measured in
// assembly, where no compiler bookkeeping of the stack can hide a wrong one.
#if defined(__i386__)

// Pushes `count` arguments (last first), calls `function` and reports how many
// bytes of them the callee removed.
extern "C" void ProbeCall(const void* function, const std::uint32_t* args, int count, int* bytesRemoved);
asm(R"(
    .text
    .globl _ProbeCall
_ProbeCall:
    pushl %ebp
    movl %esp, %ebp
    pushl %esi
    pushl %edi
    movl 12(%ebp), %esi
    movl 16(%ebp), %ecx
1:  jecxz 2f
    pushl -4(%esi,%ecx,4)
    loop 1b
2:  movl %esp, %edi
    call *8(%ebp)
    movl %esp, %ecx
    subl %edi, %ecx
    movl 20(%ebp), %edx
    movl %ecx, (%edx)
    leal -8(%ebp), %esp
    popl %edi
    popl %esi
    popl %ebp
    ret
)");

struct Export {
  const char* name;
  std::string params;  // as the table writes them: "(const char* root, char** buffer)"
  bool stdcall;
};

const Export kExports[] = {
#define KESTRUM_PAIR(result, Name, params, args) {#Name "_", #params, false}, {#Name "B_", #params, true},
#define KESTRUM_PAIR_BYREF(result, Name, params, paramsB) {#Name "_", #params, false}, {#Name "B_", #paramsB, true},
#define KESTRUM_SINGLE(result, Name_, params, args) {#Name_, #params, false},
#include "kestrum_exports.h"
};

TEST(KestrumAbi, EachExportRemovesExactlyTheArgumentsOfItsConvention) {
  const HMODULE dll = LoadLibraryA("KESTRUM.DLL");
  ASSERT_NE(dll, nullptr);
  for (const Export& e : kExports) {
    // Harmless arguments from the parameter list: 0 for a number or a handle, a path on a missing
    // drive for a text (an empty one would list the whole current drive), an empty buffer for any
    // other pointer, and for a pointer to a pointer a variable holding such a buffer.
    char buffers[5][512] = {};
    char* variables[5];
    std::vector<std::uint32_t> args;
    for (std::size_t start = 1, end; start < e.params.size(); start = end + 1) {
      end = std::min(e.params.find(',', start), e.params.size() - 1);
      const std::string param = e.params.substr(start, end - start);
      char* buffer = buffers[args.size()];
      variables[args.size()] = buffer;
      if (param.find("const char*") != std::string::npos) std::strcpy(buffer, "Q:\\kestrum-none");
      const void* value = param.find("**") != std::string::npos ? static_cast<void*>(&variables[args.size()])
                          : param.find('*') != std::string::npos ? buffer : nullptr;
      args.push_back(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(value)));
    }
    const FARPROC function = GetProcAddress(dll, e.name);
    ASSERT_NE(function, nullptr) << e.name;
    int removed = -1;
    ProbeCall(reinterpret_cast<const void*>(function), args.data(), static_cast<int>(args.size()), &removed);
    EXPECT_EQ(removed, e.stdcall ? 4 * static_cast<int>(args.size()) : 0) << e.name << e.params;
  }
}

#endif

}  // namespace
