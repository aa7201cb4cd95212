// The binary interface: every export resolves by name and by ordinal, and each
// removes exactly the arguments its convention says (stdcall twins 4 bytes per
// argument, the cdecl forms none).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "kestrum.h"
#include "test_support.h"

#if defined(__i386__)
// Pushes `count` arguments (last first), calls `function`, and reports how many
// bytes of them the callee removed. Written in assembly so that no compiler
// stack bookkeeping can hide a wrong convention.
extern "C" std::uint32_t ProbeCall(const void* function, const std::uint32_t* args, int count,
                                   int* bytesRemoved);
asm(R"(
    .text
    .globl _ProbeCall
_ProbeCall:
    pushl %ebp
    movl %esp, %ebp
    pushl %esi
    pushl %edi
    pushl %ebx
    movl 12(%ebp), %esi
    movl 16(%ebp), %ecx
1:  testl %ecx, %ecx
    jz 2f
    decl %ecx
    pushl (%esi,%ecx,4)
    jmp 1b
2:  movl %esp, %edi
    call *8(%ebp)
    movl %esp, %ecx
    subl %edi, %ecx
    movl 20(%ebp), %edx
    movl %ecx, (%edx)
    leal -12(%ebp), %esp
    popl %ebx
    popl %edi
    popl %esi
    popl %ebp
    ret
)");
#endif

namespace {

struct Export {
  const char* name;
  int argBytes;
  bool stdcall;
};

constexpr int ArgBytes(const char* params) {
  int count = 1;
  for (; *params; ++params) count += *params == ',';
  return 4 * count;
}

// Generated from the same table as the header and the twins.
const Export kExports[] = {
#define KESTRUM_PAIR(result, Name, params, args) \
  {#Name "_", ArgBytes(#params), false}, {#Name "B_", ArgBytes(#params), true},
#define KESTRUM_PAIR_BYREF(result, Name, params, paramsB) \
  {#Name "_", ArgBytes(#params), false}, {#Name "B_", ArgBytes(#paramsB), true},
#define KESTRUM_SINGLE(result, Name_, params, args) {#Name_, ArgBytes(#params), false},
#include "kestrum_exports.h"
#undef KESTRUM_PAIR
#undef KESTRUM_PAIR_BYREF
#undef KESTRUM_SINGLE
};

class KestrumAbi : public ::testing::Test {
 protected:
  void SetUp() override {
    dll_ = LoadLibraryA("KESTRUM.DLL");
    ASSERT_NE(dll_, nullptr);
  }
  void TearDown() override { FreeLibrary(dll_); }
  HMODULE dll_ = nullptr;
};

TEST_F(KestrumAbi, EveryExportResolvesByNameAndByOrdinalInNameOrder) {
  std::vector<std::string> names;
  for (const Export& e : kExports) names.push_back(e.name);
  std::sort(names.begin(), names.end());  // byte order = ASCII order
  ASSERT_EQ(names.size(), 60u);
  EXPECT_EQ(names.front(), "CreateProcB_");
  EXPECT_EQ(names.back(), "htol_");
  for (std::size_t i = 0; i < names.size(); ++i) {
    const FARPROC byName = GetProcAddress(dll_, names[i].c_str());
    const FARPROC byOrdinal = GetProcAddress(dll_, MAKEINTRESOURCEA(i + 1));
    EXPECT_NE(byName, nullptr) << names[i];
    EXPECT_EQ(byName, byOrdinal) << names[i] << " is not ordinal " << i + 1;
  }
  EXPECT_EQ(GetProcAddress(dll_, MAKEINTRESOURCEA(61)), nullptr);
  // No decorated or stray names next to the plain ones.
  EXPECT_EQ(GetProcAddress(dll_, "DriveTypeB_@4"), nullptr);
}

// Harmless arguments for each export, by name; several are chosen to fail fast.
class ProbeArguments {
 public:
  ProbeArguments() {
    const std::string list = scratch_.path() + "\\list.tmp";
    listPath_ = list;
    missingDir_ = scratch_.path() + "\\missing";
    mutex_ = CreateMutexA(nullptr, FALSE, nullptr);
    created_.reserve(8);
  }
  ~ProbeArguments() {
    CloseHandle(mutex_);
    for (HANDLE h : created_) CloseHandle(h);
    if (font_) DeleteObject(font_);
  }

  std::vector<std::uint32_t> For(const std::string& name) {
    auto u = [](const void* p) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(p)); };
    const bool twin = name.size() > 2 && name[name.size() - 2] == 'B' && name != "InStrB_";
    const std::string op = name.substr(0, name.size() - (twin ? 2 : 1));
    if (op == "DriveType") return {u("C:\\")};
    if (op == "DriveVolumeName" || op == "DriveFileSystem") return {u("C:\\"), twin ? u(&bufferAddress_) : u(buffer_)};
    if (op == "DriveTotalSpace" || op == "DriveFreeSpace") return {u("C:\\"), u(&number_)};
    if (op == "MakeDirFileList") return {0, u(missingDir_.c_str()), u(listPath_.c_str())};
    if (op == "LD" || op == "SET" || op == "RST") return {u(words_), 5};
    if (op == "HI" || op == "LOW") return {u(words_), u(&bit_)};
    if (op == "LSFT" || op == "RSFT") return {u(words_), 1};
    if (op == "htol") return {u("1A"), u(&number_)};
    if (op == "InStrB") return {1, u("a\\b"), 92};
    if (op == "MappingCreate") return {0, 0, u(&mapping_), u(&view_)};  // size 0 on the paging file fails
    if (op == "MappingOpen") return {u("kestrum-probe-none"), u(&mapping_), u(&view_)};
    if (op == "MappingRead" || op == "MappingWrite") return {0, u(buffer_), 1, 4};
    if (op == "MappingClose") return {u(&mapping_), u(&view_)};
    if (op == "MutexCreate") return {0, u(&NextHandle())};
    if (op == "MutexOpen") return {u("kestrum-probe-none"), u(&mutexOut_)};
    if (op == "MutexReserve") return {u(mutex_), 0};
    if (op == "MutexRelease") return {u(mutex_)};
    if (op == "MutexClose") return {0};
    if (op == "CreateProc") return {u("C:\\kestrum-probe-none.exe"), SW_HIDE, 0};
    if (op == "TrayNotifyDelete") return {0, 1};
    if (op.rfind("Tray", 0) == 0) return {0, WM_APP, 1, 0, u("tip")};
    if (op == "FontInitial") return {0, static_cast<std::uint32_t>(-12), u(&font_)};
    if (op == "FileDelete") return {u("no-separator.tmp")};
    ADD_FAILURE() << "no probe arguments for " << name;
    return {};
  }

 private:
  HANDLE& NextHandle() {
    created_.push_back(nullptr);
    return created_.back();
  }
  kestrum_test::ScratchDir scratch_;
  std::string listPath_, missingDir_;
  char buffer_[64] = {};
  char* bufferAddress_ = buffer_;
  int number_ = 0;
  unsigned short words_[4] = {};
  short bit_ = 0;
  HANDLE mapping_ = nullptr;
  void* view_ = nullptr;
  HANDLE mutex_ = nullptr;
  HANDLE mutexOut_ = nullptr;
  std::vector<HANDLE> created_;
  HFONT font_ = nullptr;
};

TEST_F(KestrumAbi, EachExportRemovesExactlyTheArgumentsOfItsConvention) {
#if !defined(__i386__)
  GTEST_SKIP() << "x64 has one calling convention: no stack bytes to tell cdecl from stdcall";
#else
  ProbeArguments probe;
  for (const Export& e : kExports) {
    SCOPED_TRACE(e.name);
    const FARPROC function = GetProcAddress(dll_, e.name);
    ASSERT_NE(function, nullptr);
    const std::vector<std::uint32_t> args = probe.For(e.name);
    ASSERT_EQ(static_cast<int>(args.size()) * 4, e.argBytes);
    int removed = -1;
    ProbeCall(reinterpret_cast<const void*>(function), args.data(), static_cast<int>(args.size()),
              &removed);
    EXPECT_EQ(removed, e.stdcall ? e.argBytes : 0);
  }
#endif
}

// The twins reached through the import library behave as their plain forms.
TEST(KestrumTwins, ImportLibraryBindsTheStdcallTwins) {
  unsigned short words[2] = {0, 0x0002};
  EXPECT_EQ(LDB_(words, 17), 1);
  EXPECT_EQ(SETB_(words, 15), 1);
  EXPECT_EQ(words[0], 0x8000);
  int number = 0;
  EXPECT_EQ(htol_("ff", &number), 1);
  EXPECT_EQ(number, 255);
}

}  // namespace
