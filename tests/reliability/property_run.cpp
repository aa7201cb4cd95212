#include "property_run.h"

#include <cstdio>
#include <algorithm>
#include <set>

#include "fakes.h"
#include "modules/messages.h"
#include "modules/paths.h"
#include "services/case_mapping.h"
#include "text_util.h"
#include "forms/conversion_list_window.h"
#include "forms/main_window.h"

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

// The main window on the world's files, listing and list file, the rest of
// the platform faked; started as the program starts, in folder, with the
// options given and the completion message on.
struct Program {
  Program(World& world, const std::u16string& folder, int small, int ext, int dir, bool choice) : world(world) {
    settings.values[u"ZEFTA\\SYSTEM\\DRV"] = folder;
    settings.values[u"ZEFTA\\SYSTEM\\STTPOS"] = u"0";
    window.SetHandle(42);
    window.Initialize();
    window.Load();
    window.DirCheck.SetValue(dir);
    window.SmallCheck.SetValue(small);
    window.ExtCheck.SetValue(ext);
    window.SMenuMsgOn.SetChecked(true);
    window.SMenuCfgSelectMark.SetChecked(choice);
  }
  World& world;
  testing::MessageRecorder messages;
  testing::MemorySettings settings;
  testing::FakeEnvironment environment;
  testing::FakeDesktop desktop;
  testing::FakeFolderPicker picker;
  testing::FakeWindowHost host;
  testing::FakeJournalStorage journal;
  Services services{world.guarded, messages, settings, environment, desktop, picker, world.Lister(), host, journal};
  MainWindow window{services};
};

class Run {
 public:
  Run(World& world, const std::u16string& root, Case c, std::mt19937& rng, PropertyTotals& totals)
      : world_(world), root_(root), case_(c), rng_(rng), totals_(totals),
        program_(world, root, c.small, c.ext, c.dir, c.path == Path::TreeChoice) {}

  void Execute() {
    options_ = window_.Options();

    const Snapshot before = Take(world_, root_);
    const Snapshot outside = Take(world_, world_.Outside());
    ScheduleFaults(before);
    switch (case_.path) {
      case Path::Selected: ConvertFolder(root_); break;
      case Path::Dropped: DropEverything(before); break;
      case Path::TreePlain:
      case Path::TreeChoice: ConvertWholeTree(before); break;
    }
    world_.Release();
    Compare(before, Take(world_, root_));
    // Nothing a link leads to outside the tree may move.
    const Snapshot now = Take(world_, world_.Outside());
    for (const auto& [id, entry] : outside) {
      const auto it = now.find(id);
      if (it == now.end() || it->second.path != entry.path) {
        ++totals_.outsideTouched;
        std::printf("touched outside the tree (%s): %s\n", PathName(case_.path), testing::U8(entry.path).c_str());
      }
    }
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
      // By identity (beside a case twin a name outlives its entry), from the root (where
      // a link the delete leaves dangling drops out of sight) and through the path as the
      // delete goes: under Wine a folder held open cannot be listed, so the root misses all below it.
      const auto reach = [&](bool through) {
        Snapshot reached = Take(world_, root_);
        if (through) reached.merge(Take(world_, path));
        if (through) reached[world_.Identity(path)];
        return reached;
      };
      const Snapshot before = reach(!world_.IsLink(path));
      world_.Delete(path);
      const Snapshot after = reach(true);
      for (const auto& [id, record] : before)
        if (!after.count(id)) removed_.insert(id);
    } else if (kind == 1) {
      world_.Hold(path);
    } else if (kind == 2) {
      world_.guarded.refuseNext = true;
    } else if (const auto twin = world_.MakeTwin(path)) {
      twins_.insert(*twin);
      ++totals_.twinsMade;
    }
  }

  // What every conversion must report, from the message first on: the two
  // counts, a message per failed rename where the path shows them (the list
  // window only one for an entry left under its parked name), the closing
  // message, and the beep where the path sounds one.
  void CheckReport(std::size_t first, int beeps, int processedExpected, int attempted, bool failuresShown,
                   const char16_t* nothingConverted) {
    int failures = 0, parked = 0;
    std::optional<std::u16string> closing;
    for (std::size_t i = first; i < messages_.shown.size(); ++i) {
      const auto& m = messages_.shown[i];
      if (m.text == kRenameFailedText) ++failures;
      else if (m.text.starts_with(kRenameFailedText)) ++parked;
      else if (m.icon == MessageIcon::Information) closing = m.text;
    }
    const int processed = window_.State().processedCount.Value();
    const int converted = window_.State().convertedCount.Value();
    const int failed = attempted - converted;
    converted_ += converted;
    totals_.failedRenames += failed;
    if (processed != processedExpected || failed < 0) NotAsDesigned("counts " + std::to_string(processed));
    if (failures != (failuresShown ? failed - parked : 0) || parked > failed)
      NotAsDesigned(std::to_string(failures + parked) + " failure messages for " + std::to_string(failed));
    if (closing != ReportText({processed, converted}, nothingConverted))
      NotAsDesigned("closing message " + testing::U8(closing.value_or(u"(none)")));
    if (desktop_.beeps - beeps != (case_.path == Path::Selected ? 0 : 1)) NotAsDesigned("beeps");
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
    CheckReport(first, desktop_.beeps, selected, attempted, true, nullptr);
    for (const auto& name : world_.guarded.Subdirectories(folder)) ConvertFolder(folder + u"\\" + name);
  }

  // Every entry by its full path, folders before what they hold, a few at a time.
  void DropEverything(const Snapshot& before) {
    std::vector<std::u16string> paths;
    for (const auto& [id, record] : before) paths.push_back(record.path);
    std::stable_sort(paths.begin(), paths.end(), [](const auto& a, const auto& b) {
      return std::count(a.begin(), a.end(), u'\\') < std::count(b.begin(), b.end(), u'\\');
    });
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
      CheckReport(first, beeps, attempted, attempted, true, nullptr);
    }
  }

  // Every entry of the tree is listed (folders with the option), at any
  // depth and whatever its name: none is left out in silence. Links aside,
  // which the world may not tell (their identity is made from their place).
  void CheckEveryEntryListed(const ListedTree& tree, const Snapshot& before) {
    std::set<std::u16string> listed;
    for (std::size_t i = 0; i < tree.Count(); ++i) listed.insert(Upper(tree.PathOf(i)));
    for (const auto& [id, entry] : before)
      if (!(id >> 63) && (!entry.directory || case_.dir == 1) && !listed.count(Upper(entry.path))) {
        ++totals_.leftOutOfTheList;
        std::printf("left out of the list: %s\n", testing::U8(entry.path).c_str());
      }
  }

  void ConvertWholeTree(const Snapshot& before) {
    picker_.result = root_ + u"\\";
    int listed = -1, attempted = 0;
    host_.onShown = [&](Form& form) {
      auto& list = static_cast<ConversionListWindow&>(form);
      ListBox& shown = list.ChangeFileList(list.ListInUse());
      listed = shown.Count();
      CheckEveryEntryListed(list.Entries(), before);
      for (int i = 0; i < listed; ++i) {
        if (list.ListInUse() == 1 && rng_() % 4 == 0) shown.SetSelected(i, false);
        const bool taken = list.ListInUse() == 0 || shown.Selected(i);
        attempted += taken && NeedsConversion(list.Entries().NameOf(static_cast<std::size_t>(i)), options_);
      }
      if (list.ChangeStart.Enabled()) list.ChangeStart_Click();
      else list.Cancel_Click();
    };
    const int beeps = desktop_.beeps;
    window_.SMenuAllChange_Click();
    if (host_.shown != 1 || listed < 0) return NotAsDesigned("the conversion list window was not shown");
    if (listed > 0) CheckReport(0, beeps, attempted, attempted, false, kNothingConvertedText);
  }

  // Whether a message named path as where an entry was left.
  bool ReportedParked(const std::u16string& path) const {
    const std::u16string quoted = Upper(u"「" + path + u"」");
    for (const auto& m : messages_.shown)
      if (m.text.starts_with(kRenameFailedText) && Upper(m.text).find(quoted) != std::u16string::npos) return true;
    return false;
  }

  void Compare(const Snapshot& before, const Snapshot& after) {
    long long caseChanges = 0;
    // With the entry's identity (under Wine its inode), to look for it on disk.
    const auto note = [&](long long& total, const char* what, const EntryRecord& entry, std::uint64_t id) {
      ++total;
      std::printf("%s (%s): %s [%llu]\n", what, PathName(case_.path), testing::U8(entry.path).c_str(), 0ull + id);
    };
    for (const auto& [id, old] : before) {
      const auto it = after.find(id);
      if (it == after.end()) {
        if (!removed_.count(id)) note(totals_.lost, "lost", old, id);
        continue;
      }
      const EntryRecord& now = it->second;
      if (now.parent != old.parent) note(totals_.moved, "moved", old, id);
      if (Upper(now.name) == Upper(old.name)) caseChanges += now.name != old.name;
      else if (Upper(WithoutParking(now.name)) == Upper(old.name) && ReportedParked(now.path)) ++totals_.leftParkedReported;
      else note(totals_.otherThanCase, "renamed other than in case", old, id);
      if (!old.directory && now.content != old.content) note(totals_.contentChanged, "content changed", old, id);
    }
    for (const auto& [id, now] : after)
      if (!before.count(id) && !twins_.count(id)) note(totals_.appeared, "appeared", now, id);
    totals_.caseChanges += caseChanges;
    if (removed_.empty() && converted_ != caseChanges)
      NotAsDesigned(std::to_string(converted_) + " converted, " + std::to_string(caseChanges) + " renamed on disk");
  }

  World& world_;
  std::u16string root_;
  Case case_;
  std::mt19937& rng_;
  PropertyTotals& totals_;
  CaseOptions options_;
  std::set<std::uint64_t> removed_, twins_;
  long long converted_ = 0;

  Program program_;
  MainWindow& window_ = program_.window;
  testing::MessageRecorder& messages_ = program_.messages;
  testing::FakeDesktop& desktop_ = program_.desktop;
  testing::FakeFolderPicker& picker_ = program_.picker;
  testing::FakeWindowHost& host_ = program_.host;
};

}  // namespace

PropertyTotals RunProperty(World& world, const PropertySettings& settings) {
  PropertyTotals totals;
  const long long movesBefore = world.guarded.moves, strayBefore = world.guarded.strayMoves;
  for (int tree = settings.firstTree; tree < settings.firstTree + settings.trees; ++tree) {
    std::seed_seq seeds{settings.seed, settings.stream, static_cast<std::uint32_t>(tree)};
    std::mt19937 rng(seeds);
    const std::u16string root = NewTree(world, rng, settings.entries);
    ++totals.trees;
    totals.entries += static_cast<long long>(Take(world, root).size());
    for (int run = 0; run < settings.runsPerTree; ++run) {
      Run(world, root, CaseOf(static_cast<long long>(tree) * settings.runsPerTree + run), rng, totals).Execute();
      ++totals.runs;
    }
    if (!totals.Clean() && totals.firstFailingTree < 0) totals.firstFailingTree = tree;
  }
  totals.moves = world.guarded.moves - movesBefore;
  totals.strayMoves = world.guarded.strayMoves - strayBefore;
  return totals;
}

WholeTreeReport ConvertWholeTreeOnce(World& world, const std::u16string& root, bool lower, bool extensionOnly,
                                     bool directories) {
  Program program(world, u"", lower, extensionOnly, directories, false);
  WholeTreeReport report;
  program.picker.result = root;
  program.host.onShown = [&](Form& form) {
    auto& list = static_cast<ConversionListWindow&>(form);
    report.listed = list.ChangeFileList(list.ListInUse()).Count();
    if (list.ChangeStart.Enabled()) list.ChangeStart_Click();
  };
  program.window.SMenuAllChange_Click();
  for (const auto& m : program.messages.shown)
    if (m.icon == MessageIcon::Information) report.closing = m.text;
  return report;
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
      {"entries outside the tree touched", t.outsideTouched},
      {"moves outside an entry's own name", t.strayMoves},
      {"reports not as designed", t.reportsNotAsDesigned},
      {"entries left out of the list", t.leftOutOfTheList},
  };
  for (const auto& [name, value] : figures) std::printf("FIGURE|%s|%s|%lld\n", group, name, value);
  std::fflush(stdout);
}

}  // namespace zefta::reliability
