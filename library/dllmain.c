#include <windows.h>

/* The bit-mask table is constant data, complete before any export runs, so
 * the entry point has nothing to set up or tear down. */
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reason;
  (void)reserved;
  return TRUE;
}
