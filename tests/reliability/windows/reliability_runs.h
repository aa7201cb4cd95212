// The two halves of the reliability executable.
#pragma once

#include <cstdint>
#include <string>

namespace zefta::reliability {

struct RunSettings {
  std::u16string base;  // prepared work folder (trees t0, t1, ... and temp)
  int trees = 3;
  int entries = 40;
  std::uint32_t seed = 7;
  bool verbose = false;
};

// "FIGURE|<group>|<name>|<value>", one line, flushed at once.
void PrintFigure(const char* group, const char* name, long long value);

// Each returns the number of failed checks.
int RunNoDataLoss(const RunSettings& settings);
int RunFaults(const RunSettings& settings);
// Renames in a folder whose names differ only in letter case.
int RunCaseTwins(const RunSettings& settings);

}  // namespace zefta::reliability
