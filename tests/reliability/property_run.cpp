#include "property_run.h"

#include <cstdio>
#include <functional>
#include <set>

#include "fakes.h"
#include "guarded_files.h"
#include "modules/messages.h"
#include "services/case_mapping.h"
#include "text_util.h"
#include "windows/conversion_list_window.h"
#include "windows/main_window.h"

namespace zefta::reliability {

namespace {

enum class Path { Selected, Dropped, TreePlain, TreeChoice };

struct Case {
  Path path;
  int small, ext, dir;
};

// The runs go through every path with every option set, one after another.
Case CaseOf(long long index) {
  return {static_cast<Path>(index % 4), static_cast<int>(index / 4 % 2), static_cast<int>(index / 8 % 2),
          static_cast<int>(index / 16 % 2)};
}

const char* PathName(Path path) {
  static const char* const names[] = {"selected", "dropped", "tree", "tree with check marks"};
  return names[static_cast<int>(path)];
}

std::u16string Upper(std::u16string_view text) { return MapCase(text, CaseDirection::Upper); }

// The messages of one conversion, by kind.
struct Shown {
  int failures = 0;  // the plain rename-failure message
  int parked = 0;    // the failure that names where an entry was left
  int beeps = 0;
  std::optional<std::u16string> closing;  // the last information message
};

class Run {
 public:
  Run(World& world, const std::u16string& root, Case c, std::mt19937& rng, PropertyTotals& totals, bool verbose)
      : world_(world), root_(root), case_(c), rng_(rng), totals_(totals), verbose_(verbose) {}

  void Execute() {
    environment_.variables[u"TEMP"] = world_.TempDir();
    settings_.values[u"ZEFTA\\SYSTEM\\DRV"] = root_;
    settings_.values[u"ZEFTA\\SYSTEM\\STTPOS"] = u"0";
    window_.SetHandle(42);
    window_.Load();
    window_.DirCheck.SetValue(case_.dir);
    window_.SmallCheck.SetValue(case_.small);
    window_.ExtCheck.SetValue(case_.ext);
    window_.SMenuMsgOn.SetChecked(true);
    window_.SMenuCfgSelectMark.SetChecked(case_.path == Path::TreeChoice);
    options_ = window_.Options();

    const Snapshot before = world_.Take(root_);
    ScheduleFaults(before);
    switch (case_.path) {
      case Path::Selected: ConvertFolder(root_); break;
      case Path::Dropped: DropEverything(before); break;
      case Path::TreePlain:
      case Path::TreeChoice: ConvertWholeTree(); break;
    }
    world_.Release();
    Compare(before, world_.Take(root_));
  }

 private:
  void NotAsDesigned(const std::string& what) {
    ++totals_.reportsNotAsDesigned;
    std::printf("report not as designed (%s): %s\n", PathName(case_.path), what.c_str());
  }

  // Faults in about every second run, at random points where it yields.
  void ScheduleFaults(const Snapshot& before) {
    if (before.empty() || rng_() % 2) return;
    std::vector<std::u16string> paths;
    for (const auto& [id, record] : before) paths.push_back(record.path);
    for (int n = 1 + static_cast<int>(rng_() % 3); n > 0; --n) {
      const std::size_t at = rng_() % (2 * paths.size());
      const std::u16string path = paths[rng_() % paths.size()];
      const int kind = static_cast<int>(rng_() % 4);
      auto& events = desktop_.events;
      if (events.size() <= at) events.resize(at + 1);
      events[at] = [this, previous = events[at], kind, path] {
        if (previous) previous();
        Inject(kind, path);
      };
    }
  }

  void Inject(int kind, const std::u16string& path) {
    ++totals_.faults;
    if (kind == 0) {
      for (std::uint64_t id : world_.Remove(path)) removed_.insert(id);
    } else if (kind == 1) {
      world_.Hold(path);
    } else if (kind == 2) {
      world_.RefuseNextMove();
    } else if (const auto twin = world_.MakeTwin(path)) {
      twins_.insert(*twin);
      ++totals_.twinsMade;
    }
  }

  Shown Since(std::size_t first, int beeps) const {
    Shown shown;
    shown.beeps = desktop_.beeps - beeps;
    const std::u16string parkedStart = std::u16string(kRenameFailedText) + u"\n";
    for (std::size_t i = first; i < messages_.shown.size(); ++i) {
      const auto& m = messages_.shown[i];
      if (m.text == kRenameFailedText) ++shown.failures;
      else if (m.text.starts_with(parkedStart)) ++shown.parked;
      else if (m.icon == MessageIcon::Information) shown.closing = m.text;
    }
    return shown;
  }

  // What every conversion must report: the two counts, a message per failed
  // rename where the path shows them, and the closing message.
  void CheckReport(int processedExpected, int attempted, const Shown& shown, bool failuresShown,
                   const char16_t* nothingConverted) {
    const int processed = window_.State().processedCount.Value();
    const int converted = window_.State().convertedCount.Value();
    converted_ += converted;
    totals_.failedRenames += attempted - converted;
    if (processed != processedExpected) NotAsDesigned("ProcessedCount " + std::to_string(processed));
    if (converted > attempted) NotAsDesigned("more converted than needed it");
    // The main window reports every failed rename; the list window only one
    // that left an entry under its parked name.
    const int failed = attempted - converted;
    if (shown.failures != (failuresShown ? failed - shown.parked : 0) || shown.parked > failed)
      NotAsDesigned("failure messages " + std::to_string(shown.failures + shown.parked) + " for " +
                    std::to_string(failed) + " failed renames");
    const std::optional<std::u16string> closing =
        ReportText({static_cast<std::int16_t>(processed), static_cast<std::int16_t>(converted)}, nothingConverted);
    if (shown.closing != closing) NotAsDesigned("closing message " + testing::U8(shown.closing.value_or(u"(none)")));
  }

  void ConvertFolder(const std::u16string& folder) {
    try {
      window_.DirList.SetPath(folder);
    } catch (const PlatformError&) {
      return;  // taken away meanwhile
    }
    int selected = 0, attempted = 0;
    for (int i = 0; i < window_.List.Count(); ++i) {
      if (rng_() % 5 == 0) continue;
      window_.List.SetSelected(i, true);
      ++selected;
      attempted += NeedsConversion(window_.List.Item(i), options_);
    }
    const std::size_t first = messages_.shown.size();
    window_.ConversionStart_Click();
    CheckReport(selected, attempted, Since(first, desktop_.beeps), true, nullptr);
    for (const auto& name : world_.Files().Subdirectories(folder)) ConvertFolder(folder + u"\\" + name);
  }

  // Every entry by its full path, folders before what they hold, a few at a time.
  void DropEverything(const Snapshot& before) {
    std::map<std::uint64_t, std::vector<std::uint64_t>> children;
    for (const auto& [id, record] : before) children[record.parent].push_back(id);
    std::vector<std::u16string> paths;
    std::set<std::uint64_t> inTree;
    for (const auto& [id, record] : before) inTree.insert(id);
    std::function<void(std::uint64_t)> visit = [&](std::uint64_t folder) {
      for (std::uint64_t id : children[folder]) {
        paths.push_back(before.at(id).path);
        visit(id);
      }
    };
    for (const auto& [parent, ids] : children)
      if (!inTree.count(parent)) visit(parent);
    for (std::size_t start = 0; start < paths.size();) {
      const std::size_t n = std::min<std::size_t>(paths.size() - start, 1 + rng_() % 12);
      const std::vector<std::u16string> chunk(paths.begin() + static_cast<long>(start),
                                              paths.begin() + static_cast<long>(start + n));
      start += n;
      int attempted = 0;
      for (const auto& path : chunk) attempted += NeedsConversion(SplitPath(path).name, options_);
      const std::size_t first = messages_.shown.size();
      const int beeps = desktop_.beeps;
      window_.OLEDragDrop(DropData{true, chunk});
      const Shown shown = Since(first, beeps);
      CheckReport(attempted, attempted, shown, true, nullptr);
      if (shown.beeps != 1) NotAsDesigned("no beep after the drop");
    }
  }

  void ConvertWholeTree() {
    picker_.result = root_ + u"\\";
    int listed = -1, attempted = 0;
    host_.onShown = [&](Form& form) {
      auto& list = static_cast<ConversionListWindow&>(form);
      ListBox& shown = list.ChangeFileList(list.ListInUse());
      listed = shown.Count();
      for (int i = 0; i < listed; ++i) {
        if (list.ListInUse() == 1 && rng_() % 4 == 0) shown.SetSelected(i, false);
        const bool taken = list.ListInUse() == 0 || shown.Selected(i);
        attempted += taken && NeedsConversion(list.Entries()[static_cast<std::size_t>(i)].name, options_);
      }
      if (list.ChangeStart.Enabled()) list.ChangeStart_Click();
      else list.Cancel_Click();
    };
    const int beeps = desktop_.beeps;
    window_.SMenuAllChange_Click();
    if (host_.shown != 1 || listed < 0) return NotAsDesigned("the conversion list window was not shown");
    if (listed == 0) return;
    const Shown shown = Since(0, beeps);
    CheckReport(attempted, attempted, shown, false, kNothingConvertedText);
    if (shown.beeps != 1) NotAsDesigned("no beep at the end of the list window's run");
  }

  // Whether a message named path as where an entry was left.
  bool ReportedParked(const std::u16string& path) const {
    const std::u16string quoted = Upper(u"「" + path + u"」");
    for (const auto& m : messages_.shown)
      if (m.text.starts_with(kRenameFailedText) && Upper(m.text).find(quoted) != std::u16string::npos) return true;
    return false;
  }

  void Compare(const Snapshot& before, const Snapshot& after) {
    if (verbose_) std::printf("run %s small=%d ext=%d dir=%d\n", PathName(case_.path), case_.small, case_.ext, case_.dir);
    long long caseChanges = 0;
    auto note = [&](const char* what, const EntryRecord& old) {
      if (verbose_) std::printf("  %s: %s\n", what, testing::U8(old.path).c_str());
    };
    for (const auto& [id, old] : before) {
      const auto it = after.find(id);
      if (it == after.end()) {
        if (!removed_.count(id)) {
          ++totals_.lost, note("lost", old);
          if (verbose_)
            for (const auto& [otherId, other] : after)
              if (other.parent == old.parent)
                std::printf("    beside it now: %s (%llu, was %s)\n", testing::U8(other.name).c_str(),
                            static_cast<unsigned long long>(otherId),
                            before.count(otherId) ? testing::U8(before.at(otherId).name).c_str() : "new");
        }
        continue;
      }
      const EntryRecord& now = it->second;
      if (now.parent != old.parent) ++totals_.moved, note("moved", old);
      if (Upper(now.name) == Upper(old.name)) {
        caseChanges += now.name != old.name;
      } else if (Upper(WithoutParking(now.name)) == Upper(old.name) && ReportedParked(now.path)) {
        ++totals_.leftParkedReported;
      } else {
        ++totals_.otherThanCase, note("renamed other than in case", old);
      }
      if (!old.directory && now.content != old.content) ++totals_.contentChanged, note("content changed", old);
    }
    for (const auto& [id, now] : after)
      if (!before.count(id) && !twins_.count(id)) ++totals_.appeared, note("appeared", now);
    totals_.caseChanges += caseChanges;
    if (removed_.empty() && converted_ != caseChanges)
      NotAsDesigned(std::to_string(converted_) + " converted, " + std::to_string(caseChanges) + " renamed on disk");
  }

  World& world_;
  std::u16string root_;
  Case case_;
  std::mt19937& rng_;
  PropertyTotals& totals_;
  bool verbose_;
  CaseOptions options_;
  std::set<std::uint64_t> removed_, twins_;
  long long converted_ = 0;

  testing::MessageRecorder messages_;
  testing::MemorySettings settings_;
  testing::FakeEnvironment environment_;
  testing::FakeDesktop desktop_;
  testing::FakeFolderPicker picker_;
  testing::FakeWindowHost host_;
  Services services_{world_.Files(), messages_, settings_, environment_, desktop_,
                     picker_,        world_.Code(), world_.Lister(), world_.Reader(), host_};
  MainWindow window_{services_};
};

}  // namespace

PropertyTotals RunProperty(World& world, const PropertySettings& settings) {
  PropertyTotals totals;
  std::mt19937 rng(settings.seed);
  const long long movesBefore = world.Moves(), strayBefore = world.StrayMoves();
  for (int tree = 0; tree < settings.trees; ++tree) {
    const std::u16string root = world.NewTree(rng);
    ++totals.trees;
    totals.entries += static_cast<long long>(world.Take(root).size());
    for (int run = 0; run < settings.runsPerTree; ++run) {
      Run(world, root, CaseOf(totals.runs), rng, totals, settings.verbose).Execute();
      ++totals.runs;
    }
  }
  totals.moves = world.Moves() - movesBefore;
  totals.strayMoves = world.StrayMoves() - strayBefore;
  return totals;
}

void PrintFigures(const char* group, const PropertyTotals& t) {
  const std::pair<const char*, long long> figures[] = {
      {"trees", t.trees},
      {"entries", t.entries},
      {"runs", t.runs},
      {"moves asked", t.moves},
      {"names changed in case", t.caseChanges},
      {"renames refused", t.failedRenames},
      {"injected faults", t.faults},
      {"case twins made mid-run", t.twinsMade},
      {"entries left parked, reported", t.leftParkedReported},
      {"entries lost", t.lost},
      {"entries moved to another folder", t.moved},
      {"names changed other than in case", t.otherThanCase},
      {"contents changed", t.contentChanged},
      {"entries appeared", t.appeared},
      {"moves outside an entry's own name", t.strayMoves},
      {"reports not as designed", t.reportsNotAsDesigned},
  };
  for (const auto& [name, value] : figures) std::printf("FIGURE|%s|%s|%lld\n", group, name, value);
  std::fflush(stdout);
}

}  // namespace zefta::reliability
