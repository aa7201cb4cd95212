// The no-data-loss runs in memory: half on a file system like Windows, half
// like Wine on a Linux folder (case twins, some made in the middle of a run).
// no_data_loss_native [--runs=N] [--seed=N]; prints the figures.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fake_world.h"
#include "property_run.h"

int main(int argc, char** argv) {
  using namespace zefta::reliability;
  long runs = 2000;
  PropertySettings settings;
  settings.runsPerTree = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--runs=", 7) == 0) runs = std::strtol(argv[i] + 7, nullptr, 10);
    else if (std::strncmp(argv[i], "--seed=", 7) == 0) settings.seed = static_cast<std::uint32_t>(std::strtoul(argv[i] + 7, nullptr, 10));
    else {
      std::fprintf(stderr, "unknown argument %s\n", argv[i]);
      return 2;
    }
  }
  const auto start = std::chrono::steady_clock::now();
  bool clean = true;
  for (auto kind : {zefta::testing::FakeFileSystem::Kind::Windows, zefta::testing::FakeFileSystem::Kind::WineOnLinux}) {
    FakeWorld world(kind);
    settings.trees = static_cast<int>(runs / 2);
    ++settings.seed;
    const PropertyTotals totals = RunProperty(world, settings);
    PrintFigures((std::string("no data loss, native, ") + world.Name()).c_str(), totals);
    clean = clean && totals.Clean();
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%ld runs in %.1f s: %s\n", runs, seconds, clean ? "passed" : "FAILED");
  return clean ? 0 : 1;
}
