#include "platform/win32/window/message_loop.h"

namespace zefta::win32 {

namespace {
PreTranslateHook g_preTranslate = nullptr;
}  // namespace

void SetPreTranslateHook(PreTranslateHook hook) { g_preTranslate = hook; }

void DispatchOne(MSG& message) {
  if (g_preTranslate && g_preTranslate(message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

}  // namespace zefta::win32
