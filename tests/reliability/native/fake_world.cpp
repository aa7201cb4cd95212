// The no-data-loss runs in memory: half on a file system like Windows, half
// like Wine on a Linux folder, where names that differ only in letter case
// stand side by side and can appear in the middle of a run.
// no_data_loss_native [--runs=N] [--seed=N]; prints the figures.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fakes.h"
#include "modules/list_file.h"
#include "modules/utf8.h"
#include "property_run.h"
#include "services/case_mapping.h"

namespace zefta::reliability {
namespace {

using testing::FakeFileSystem;

// The library's tree listing over the fake file system: pair lines of every
// file (and folder, in mode 4) in depth-first pre-order, in UTF-8 (the only
// text the program asks for).
class FakeListing final : public TreeLister {
 public:
  FakeListing(FakeFileSystem& files, testing::FakeFileReader& reader) : files_(files), reader_(reader) {}
  std::optional<std::int32_t> MakeDirFileList(std::int32_t mode, const std::string& directory,
                                              const std::string& listPath) override {
    std::string out;
    if (mode & kListUtf8) Walk(*FromUtf8(directory), directory, mode & ~kListUtf8, out);
    reader_.files[*FromUtf8(listPath)] = out;
    return 0;
  }

 private:
  void Walk(const std::u16string& folder, const std::string& text, int mode, std::string& out) {
    for (const std::u16string& name : files_.Names(folder + u"\\").value_or(std::vector<std::u16string>{})) {
      const bool directory = files_.Find(folder + u"\\" + name)->directory;
      const std::string nameText = *ToUtf8(name);
      if (!directory || mode == 4) out += "\"" + text + "\", \"" + nameText + "\"\r\n";
      if (directory) Walk(folder + u"\\" + name, text + "\\" + nameText, mode, out);
    }
  }
  FakeFileSystem& files_;
  testing::FakeFileReader& reader_;
};

class FakeWorld final : public World {
 public:
  explicit FakeWorld(FakeFileSystem::Kind kind) : World(files_), files_(kind) {}

  TreeLister& Lister() override { return lister_; }
  FileReader& Reader() override { return reader_; }
  CodePage& Code() override { return code_; }
  std::u16string TempDir() override { return u"c:\\temp"; }

  std::u16string NewRoot() override {
    files_ = FakeFileSystem(files_.kind);
    files_.AddDirectory(u"c:\\t");
    return u"c:\\t";
  }
  bool MakeDirectory(const std::u16string& path) override {
    files_.AddDirectory(path);
    return true;
  }
  bool MakeFile(const std::u16string& path, const std::string& content, bool) override {
    files_.AddFile(path, content);
    return true;
  }
  std::uint64_t Identity(const std::u16string& path) override {
    const auto* entry = files_.Find(path);
    return entry ? entry->id : 0;
  }
  std::string Content(const std::u16string& path) override { return files_.Find(path)->content; }

  void Delete(const std::u16string& path) override { files_.Remove(path); }
  void Hold(const std::u16string& path) override { guarded.held.push_back(path); }
  // Every letter of the name in the other case: "ReadMe.Txt" beside "rEADmE.tXT".
  std::optional<std::uint64_t> MakeTwin(const std::u16string& path) override {
    const std::u16string stored = files_.ActualPath(path);
    if (files_.kind != FakeFileSystem::Kind::WineOnLinux || stored.empty()) return std::nullopt;
    std::u16string twin = stored;
    for (std::size_t i = stored.rfind(u'\\') + 1; i < twin.size(); ++i) {
      const std::u16string one(1, twin[i]), upper = MapCase(one, CaseDirection::Upper);
      twin[i] = (upper != one ? upper : MapCase(one, CaseDirection::Lower))[0];
    }
    if (twin == stored || files_.ActualPath(twin) == twin) return std::nullopt;
    files_.AddFile(twin, "twin");
    return files_.Find(twin)->id;
  }

 private:
  FakeFileSystem files_;
  testing::FakeFileReader reader_;
  testing::FakeCodePage code_;
  FakeListing lister_{files_, reader_};
};

}  // namespace
}  // namespace zefta::reliability

int main(int argc, char** argv) {
  using namespace zefta::reliability;
  using Kind = zefta::testing::FakeFileSystem::Kind;
  long runs = 2000;
  PropertySettings settings{.runsPerTree = 1, .entries = 12};
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--runs=", 7) == 0) runs = std::strtol(argv[i] + 7, nullptr, 10);
    else if (std::strncmp(argv[i], "--seed=", 7) == 0) settings.seed = static_cast<std::uint32_t>(std::atol(argv[i] + 7));
    else return std::fprintf(stderr, "unknown argument %s\n", argv[i]), 2;
  }
  const auto start = std::chrono::steady_clock::now();
  bool clean = true;
  for (auto kind : {Kind::Windows, Kind::WineOnLinux}) {
    FakeWorld world(kind);
    settings.trees = static_cast<int>(runs / 2);
    ++settings.seed;
    const PropertyTotals totals = RunProperty(world, settings);
    PrintFigures(kind == Kind::Windows ? "no data loss, native, like Windows" : "no data loss, native, like Wine on Linux",
                 totals);
    clean = clean && totals.Clean();
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%ld runs in %.1f s: %s\n", runs, seconds, clean ? "passed" : "FAILED");
  return clean ? 0 : 1;
}
