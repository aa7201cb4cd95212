// The no-data-loss property runs and the fault scenarios under Wine, with
// their figures. Arguments: --part=loss|faults|all, --trees=N, --entries=N,
// --seed=N, --verbose; the variables ZEFTA_TREES, ZEFTA_ENTRIES and ZEFTA_SEED
// give the same. ZEFTA_RELIABILITY_DIR names the prepared work folder.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/win32/text.h"
#include "reliability_runs.h"
#include "reliability_support.h"

namespace zefta::reliability {

void PrintFigure(const char* group, const char* name, long long value) {
  std::printf("FIGURE|%s|%s|%lld\n", group, name, value);
  std::fflush(stdout);
}

}  // namespace zefta::reliability

namespace {

using namespace zefta::reliability;

long NumberFrom(const char* text, long fallback) {
  if (!text || !*text) return fallback;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  return (end && *end == '\0' && value > 0) ? value : fallback;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  // Plain LF lines, so that the figures read the same on the Linux side.
  _setmode(_fileno(stdout), _O_BINARY);
  if (argc == 5 && std::wcscmp(argv[1], L"--hold") == 0)
    return RunHolder(zefta::win32::U(argv[2]), zefta::win32::U(argv[3]), zefta::win32::U(argv[4]));

  RunSettings settings;
  settings.trees = static_cast<int>(NumberFrom(std::getenv("ZEFTA_TREES"), settings.trees));
  settings.entries = static_cast<int>(NumberFrom(std::getenv("ZEFTA_ENTRIES"), settings.entries));
  settings.seed = static_cast<std::uint32_t>(NumberFrom(std::getenv("ZEFTA_SEED"), settings.seed));
  std::string part = "all";
  for (int i = 1; i < argc; ++i) {
    const std::string arg = U8(zefta::win32::U(argv[i]));
    auto value = [&](const char* prefix) -> const char* {
      return arg.rfind(prefix, 0) == 0 ? arg.c_str() + std::strlen(prefix) : nullptr;
    };
    if (const char* v = value("--part=")) part = v;
    else if (const char* v = value("--trees=")) settings.trees = static_cast<int>(NumberFrom(v, settings.trees));
    else if (const char* v = value("--entries=")) settings.entries = static_cast<int>(NumberFrom(v, settings.entries));
    else if (const char* v = value("--seed=")) settings.seed = static_cast<std::uint32_t>(NumberFrom(v, settings.seed));
    else if (arg == "--verbose") settings.verbose = true;
    else {
      std::fprintf(stderr, "unknown argument %s\n", arg.c_str());
      return 2;
    }
  }

  bool ownFolder = false;
  if (const wchar_t* dir = _wgetenv(L"ZEFTA_RELIABILITY_DIR"); dir && *dir) {
    settings.base = WithoutSeparator(zefta::win32::U(dir));
  } else {
    // Without the prepared folder there are no names that differ only in case.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    settings.base = zefta::win32::U(temp) + u"zefta_reliability_" + Decimal(GetCurrentProcessId());
    MakeDirectory(settings.base);
    ownFolder = true;
  }

  int failures = 0;
  if (part == "all" || part == "loss") failures += RunCaseTwins(settings) + RunNoDataLoss(settings);
  if (part == "all" || part == "faults") failures += RunFaults(settings);
  if (ownFolder) RemoveTree(settings.base);
  std::printf(failures ? "FAILED: %d checks\n" : "passed\n", failures);
  return failures ? 1 : 0;
}
