// The stdcall twins: each simply calls its cdecl function. The two drive-name
// twins, whose buffer is one level more indirect, live in drive.cpp.
#include "kestrum.h"

extern "C" {

#define KESTRUM_PAIR(result, Name, params, args) \
  result __stdcall Name##B_ params { return Name##_ args; }
#define KESTRUM_PAIR_BYREF(result, Name, params, paramsB)
#define KESTRUM_SINGLE(result, Name_, params, args)
#include "kestrum_exports.h"

}  // extern "C"
