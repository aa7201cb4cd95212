// On x86 each export must remove exactly the arguments of its convention: the
// stdcall twins 4 bytes per argument, the cdecl forms none. Measured in
// assembly, where no compiler bookkeeping of the stack can hide a wrong one.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

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

namespace {

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
    // Harmless arguments from the parameter list: 0 for a number or a handle,
    // a path on a drive that is not there for a text (an empty one would list
    // the whole current drive), an empty buffer for any other pointer, and for
    // a pointer to a pointer a variable holding such a buffer.
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

}  // namespace

#endif
