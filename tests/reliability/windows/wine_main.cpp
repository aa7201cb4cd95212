// The no-data-loss runs on real files under Wine. ZEFTA_RELIABILITY_DIR names
// the work folder that run_no_data_loss.sh prepared; ZEFTA_TREES (or
// --trees=N) the number of trees, each run through all 32 paths and option sets.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/win32/text.h"
#include "property_run.h"
#include "wine_world.h"

int wmain(int argc, wchar_t** argv) {
  using namespace zefta::reliability;
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  // Plain LF lines, so that the figures read the same on the Linux side.
  _setmode(_fileno(stdout), _O_BINARY);
  PropertySettings settings;
  if (const char* trees = std::getenv("ZEFTA_TREES")) settings.trees = std::atoi(trees);
  for (int i = 1; i < argc; ++i) {
    if (std::wcsncmp(argv[i], L"--trees=", 8) == 0) settings.trees = _wtoi(argv[i] + 8);
  }
  const wchar_t* base = _wgetenv(L"ZEFTA_RELIABILITY_DIR");
  if (!base || !*base || settings.trees < 1) {
    std::printf("usage: ZEFTA_RELIABILITY_DIR=<prepared folder> no_data_loss [--trees=N]\n");
    return 2;
  }
  WineWorld world(zefta::win32::U(base));
  const PropertyTotals totals = RunProperty(world, settings);
  const char* group = "no data loss, under Wine";
  PrintFigures(group, totals);
  std::printf("FIGURE|%s|read-only entries|%d\nFIGURE|%s|entries near the path limit|%d\n"
              "FIGURE|%s|entries made on the Linux side (case pairs)|%d\n",
              group, world.readOnly, group, world.nearPathLimit, group, world.madeOnLinux);
  const bool passed = totals.Clean() && totals.trees == settings.trees;
  std::printf(passed ? "passed\n" : "FAILED\n");
  return passed ? 0 : 1;
}
