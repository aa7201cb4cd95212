// The no-data-loss runs in memory: half on a file system like Windows, half
// like Wine on a Linux folder, where names that differ only in letter case
// stand side by side and can appear in the middle of a run.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "fakes.h"
#include "property_run.h"

namespace zefta::reliability {
namespace {

using testing::FakeFileSystem;

class FakeWorld final : public World {
 public:
  explicit FakeWorld(FakeFileSystem::Kind kind) : World(files_), files_(kind) {}

  TreeLister& Lister() override { return lister_; }

  std::u16string NewRoot() override {
    files_ = FakeFileSystem(files_.kind);
    files_.AddDirectory(u"c:\\t");
    files_.AddFile(Outside() + u"\\Real.TXT", "outside");
    files_.AddFile(Outside() + u"\\RealDir.D\\INNER.TXT", "outside");
    return u"c:\\t";
  }
  std::u16string Outside() override { return u"c:\\outside"; }
  bool MakeLink(const std::u16string& path, const std::u16string& target) override {
    // Windows keeps one spelling per name: no link beside an entry of its name.
    if (files_.kind == FakeFileSystem::Kind::Windows && !files_.ActualPath(path).empty()) return false;
    files_.AddLink(path, target);
    return true;
  }
  std::vector<std::u16string> EveryName(const std::u16string& folder) override { return files_.AllNames(folder); }
  bool IsLink(const std::u16string& path) override { return files_.IsLinkSpelled(path); }
  bool MakeDirectory(const std::u16string& path) override { return files_.AddDirectory(path), true; }
  bool MakeFile(const std::u16string& path, const std::string& content, bool) override {
    return files_.AddFile(path, content), true;
  }
  std::uint64_t Identity(const std::u16string& path) override {
    const auto* entry = files_.Find(path);
    return entry ? entry->id : 0;
  }
  std::string Content(const std::u16string& path) override { return files_.Find(path)->content; }

  void Delete(const std::u16string& path) override { files_.Remove(path); }
  void Hold(const std::u16string& path) override { guarded.held.push_back(path); }
  std::optional<std::uint64_t> MakeTwin(const std::u16string& path) override {
    const std::u16string stored = files_.ActualPath(path);
    if (files_.kind != FakeFileSystem::Kind::WineOnLinux || stored.empty()) return std::nullopt;
    const std::u16string twin = WithFlippedCase(stored);
    if (twin == stored || files_.ActualPath(twin) == twin || files_.IsLinkSpelled(twin)) return std::nullopt;
    files_.AddFile(twin, "twin");
    return files_.Find(twin)->id;
  }

 private:
  FakeFileSystem files_;
  testing::FakeTreeLister lister_{files_};
};

}  // namespace
}  // namespace zefta::reliability

namespace {

using zefta::reliability::PropertySettings;
using Kind = zefta::testing::FakeFileSystem::Kind;

const char* KindName(Kind kind) { return kind == Kind::Windows ? "windows" : "wine"; }

// Trees that once failed, replayed in every run: seed, kind and number.
struct Regression { std::uint32_t seed; Kind kind; int tree; };
const Regression kRegressions[] = {
    {1, Kind::WineOnLinux, 13},  // the way back from a parked name landed on a dangling case twin
    {2419471561, Kind::WineOnLinux, 20539},  // a listed link gone dangling let its case twin be parked
};

}  // namespace

// no_data_loss_native [--runs=N] [--seed=S] [--kind=windows|wine --tree=N]:
// N runs (half like Windows, half like Wine) from seed S (a new one each
// time when not given), then the trees that failed before; or only the tree
// named. Prints the figures, and for a failure the command that replays it.
int main(int argc, char** argv) {
  using namespace zefta::reliability;
  long runs = 2000;
  std::uint32_t seed = std::random_device{}();
  int onlyTree = -1;
  std::optional<Kind> onlyKind;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--runs=", 7) == 0) runs = std::strtol(argv[i] + 7, nullptr, 10);
    else if (std::strncmp(argv[i], "--seed=", 7) == 0) seed = static_cast<std::uint32_t>(std::strtoul(argv[i] + 7, nullptr, 10));
    else if (std::strncmp(argv[i], "--tree=", 7) == 0) onlyTree = std::atoi(argv[i] + 7);
    else if (std::strcmp(argv[i], "--kind=windows") == 0) onlyKind = Kind::Windows;
    else if (std::strcmp(argv[i], "--kind=wine") == 0) onlyKind = Kind::WineOnLinux;
    else return std::fprintf(stderr, "unknown argument %s\n", argv[i]), 2;
  }
  std::printf("seed %u\n", seed);
  const auto start = std::chrono::steady_clock::now();
  bool clean = true;
  long long done = 0;
  const auto run = [&](Kind kind, PropertySettings settings, const char* group) {
    FakeWorld world(kind);
    settings.stream = static_cast<std::uint32_t>(kind);
    const PropertyTotals totals = RunProperty(world, settings);
    PrintFigures(group, totals);
    if (totals.firstFailingTree >= 0)
      std::printf("FAILED on tree %lld of seed %u; replay: %s --seed=%u --kind=%s --tree=%lld\n", totals.firstFailingTree,
                  settings.seed, argv[0], settings.seed, KindName(kind), totals.firstFailingTree);
    clean = clean && totals.Clean();
    done += totals.runs;
  };
  std::vector<Regression> replays(std::begin(kRegressions), std::end(kRegressions));
  if (onlyTree >= 0) {
    replays = {{seed, onlyKind.value_or(Kind::WineOnLinux), onlyTree}};
  } else {
    const PropertySettings all{.trees = static_cast<int>(runs / 2), .runsPerTree = 1, .entries = 12, .seed = seed};
    run(Kind::Windows, all, "no data loss, native, like Windows");
    run(Kind::WineOnLinux, all, "no data loss, native, like Wine on Linux");
  }
  for (const Regression& r : replays) {
    const std::string group = "no data loss, native, tree " + std::to_string(r.tree) + " of seed " +
                              std::to_string(r.seed) + " (" + KindName(r.kind) + ")";
    run(r.kind, {.firstTree = r.tree, .trees = 1, .runsPerTree = 1, .entries = 12, .seed = r.seed}, group.c_str());
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%lld runs in %.1f s: %s\n", done, seconds, clean ? "passed" : "FAILED");
  return clean ? 0 : 1;
}
