#include <windows.h>

#include "library/kestrum.h"
#include "platform/win32/services_win32.h"

namespace zefta::win32 {

static_assert(TreeLister::kFilePairs == KESTRUM_LIST_FILE_PAIRS, "the program's list mode is the library's");
static_assert(TreeLister::kEntryPairs == KESTRUM_LIST_ENTRY_PAIRS, "the program's list mode is the library's");
static_assert(TreeLister::kUtf8 == KESTRUM_LIST_UTF8, "the program's list mode is the library's");

std::optional<std::int32_t> KestrumTreeLister::MakeDirFileList(std::int32_t mode, const std::string& directory,
                                                               const std::string& listPath) {
  if (!function_) {
    // Bound at the first call; a missing library is asked for again next time.
    HMODULE library = LoadLibraryA(libraryName_.c_str());
    if (!library) return std::nullopt;
    function_ = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, "MakeDirFileListB_")));
    if (!function_) {
      FreeLibrary(library);
      return std::nullopt;
    }
  }
  return function_(mode, directory.c_str(), listPath.c_str());
}

}  // namespace zefta::win32
