// The helpers behind the exports: the pure ones (kestrum_pure.h) and the few
// that need Windows types. Not exported from the DLL.
#ifndef KESTRUM_INTERNAL_H
#define KESTRUM_INTERNAL_H

#include <windows.h>
#include <shellapi.h>

#include "kestrum_pure.h"

namespace kestrum {

// The tray record of Shell_NotifyIconA in its first (88-byte) form, filled
// afresh for every call; a null tip gives the empty tip.
void FillTrayRecord(NOTIFYICONDATAA* record, HWND window, UINT id, UINT message, HICON icon,
                    const char* tip);

}  // namespace kestrum

#endif
