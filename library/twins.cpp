// The stdcall twins: each simply calls its cdecl function. The two drive-name
// twins, whose buffer is one level more indirect, live in drive.cpp. Every row
// of the export table is checked against the prototypes of kestrum.h here, so
// the table that drives the twins cannot drift from the header that callers
// read.
#include <type_traits>

#include "kestrum.h"
#include "kestrum_pure.h"

// The codes the helpers switch on are the ones the header names.
#define KESTRUM_SAME_CODE(name, code) static_assert(name == kestrum::code, #name " differs from kestrum::" #code);
KESTRUM_SAME_CODE(KESTRUM_LIST_FILE_PATHS, kListFilePaths)
KESTRUM_SAME_CODE(KESTRUM_LIST_FILE_PAIRS, kListFilePairs)
KESTRUM_SAME_CODE(KESTRUM_LIST_ENTRY_PATHS, kListEntryPaths)
KESTRUM_SAME_CODE(KESTRUM_LIST_ENTRY_PAIRS, kListEntryPairs)
KESTRUM_SAME_CODE(KESTRUM_PRIORITY_NORMAL, kPriorityNormal)
KESTRUM_SAME_CODE(KESTRUM_PRIORITY_REALTIME, kPriorityRealtime)
KESTRUM_SAME_CODE(KESTRUM_PRIORITY_IDLE, kPriorityIdle)
KESTRUM_SAME_CODE(KESTRUM_FACE_SYSTEM, kFaceSystem)
KESTRUM_SAME_CODE(KESTRUM_FACE_TERMINAL, kFaceTerminal)
KESTRUM_SAME_CODE(KESTRUM_FACE_MINCHO, kFaceMincho)
KESTRUM_SAME_CODE(KESTRUM_FACE_GOTHIC, kFaceGothic)
#undef KESTRUM_SAME_CODE

#define KESTRUM_PAIR(result, Name, params, args)                                   \
  static_assert(std::is_same_v<decltype(&Name##_), result(__cdecl*) params>,      \
                #Name "_ differs from its row of the export table");               \
  static_assert(std::is_same_v<decltype(&Name##B_), result(__stdcall*) params>,   \
                #Name "B_ differs from its row of the export table");
#define KESTRUM_PAIR_BYREF(result, Name, params, paramsB)                          \
  static_assert(std::is_same_v<decltype(&Name##_), result(__cdecl*) params>,      \
                #Name "_ differs from its row of the export table");               \
  static_assert(std::is_same_v<decltype(&Name##B_), result(__stdcall*) paramsB>,  \
                #Name "B_ differs from its row of the export table");
#define KESTRUM_SINGLE(result, Name_, params, args)                                \
  static_assert(std::is_same_v<decltype(&Name_), result(__cdecl*) params>,        \
                #Name_ " differs from its row of the export table");
#include "kestrum_exports.h"
#undef KESTRUM_PAIR
#undef KESTRUM_PAIR_BYREF
#undef KESTRUM_SINGLE

extern "C" {

#define KESTRUM_PAIR(result, Name, params, args) \
  result __stdcall Name##B_ params { return Name##_ args; }
#define KESTRUM_PAIR_BYREF(result, Name, params, paramsB)
#define KESTRUM_SINGLE(result, Name_, params, args)
#include "kestrum_exports.h"

}  // extern "C"
