// The helpers of the exports that need Windows types; see kestrum_internal.h.
#include "kestrum_internal.h"

#include <cstring>

namespace kestrum {

static bool IsAnsiLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

void FillTrayRecord(NOTIFYICONDATAA* record, HWND window, UINT id, UINT message, HICON icon,
                    const char* tip) {
  std::memset(record, 0, sizeof *record);
  record->cbSize = NOTIFYICONDATAA_V1_SIZE;  // 88 bytes: understood by every shell
  record->hWnd = window;
  record->uID = id;
  record->uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record->uCallbackMessage = message;
  record->hIcon = icon;
  if (tip != nullptr) {
    // At most 63 bytes, cut before a double-byte character rather than inside it.
    std::memcpy(record->szTip, tip, TipLength(tip, IsAnsiLeadByte));
  }
}

}  // namespace kestrum
