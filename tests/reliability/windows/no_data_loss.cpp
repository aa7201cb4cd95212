// Every conversion path, in every option combination, over generated trees on
// the real file system: afterwards every entry is still there, in its folder,
// with its content, and its name changed in letter case at most.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <random>

#include "modules/messages.h"
#include "platform/win32/text.h"
#include "reliability_runs.h"
#include "reliability_support.h"
#include "tree_generator.h"
#include "windows/conversion_list_window.h"
#include "windows/main_window.h"

namespace zefta::reliability {

namespace {

using win32::W;

enum class ConversionPath { Selected, Dropped, TreePlain, TreeChoice };

const char* PathName(ConversionPath path) {
  switch (path) {
    case ConversionPath::Selected: return "selected";
    case ConversionPath::Dropped: return "dropped";
    case ConversionPath::TreePlain: return "tree";
    case ConversionPath::TreeChoice: return "tree-choice";
  }
  return "?";
}

struct Options {
  int small, ext, dir;
};

struct Totals {
  long long trees = 0, entries = 0, runs = 0, injected = 0, lost = 0, otherThanCase = 0, moved = 0;
  long long appeared = 0, contentChanged = 0, renames = 0, refused = 0, caseChanges = 0, outsideOwnName = 0;
  long long reportMismatches = 0, held = 0, readOnly = 0, nearLimit = 0, listed = 0, casePairs = 0;
};

// One run: a fresh main window on the tree, the option boxes set, one path.
class Run {
 public:
  Run(const RunSettings& settings, const std::u16string& root, ConversionPath path, Options options,
      std::mt19937& rng, Totals& totals)
      : settings_(settings), root_(root), path_(path), options_(options), rng_(rng), totals_(totals),
        platform_(settings.base + u"\\temp") {
    platform_.settings.values[u"ZEFTA\\SYSTEM\\DRV"] = root;
    platform_.settings.values[u"ZEFTA\\SYSTEM\\STTPOS"] = u"0";
    window_.SetHandle(42);
    window_.Load();
    window_.DirCheck.SetValue(options.dir);
    window_.SmallCheck.SetValue(options.small);
    window_.ExtCheck.SetValue(options.ext);
    window_.SMenuMsgOn.SetChecked(true);
    window_.SMenuCfgSelectMark.SetChecked(path == ConversionPath::TreeChoice);
  }

  // Returns the comparison of the tree before and after.
  Comparison Execute(const Snapshot& known) {
    const Snapshot before = TakeSnapshot(root_, &known);
    ScheduleFaults();
    switch (path_) {
      case ConversionPath::Selected: ConvertFolder(root_); break;
      case ConversionPath::Dropped: DropEverything(before); break;
      case ConversionPath::TreePlain:
      case ConversionPath::TreeChoice: ConvertWholeTree(); break;
    }
    platform_.files.refusedDrives.clear();
    locks_.clear();
    const Snapshot after = TakeSnapshot(root_, &before);
    Comparison result = Compare(before, after, removed_);
    totals_.renames += platform_.files.renames;
    totals_.refused += platform_.files.refusedRenames;
    totals_.outsideOwnName += platform_.files.requestsOutsideOwnName;
    totals_.caseChanges += result.renamed;
    return result;
  }

 private:
  void Mismatch(const std::string& what) {
    ++totals_.reportMismatches;
    std::printf("report not as designed (%s): %s\n", PathName(path_), what.c_str());
  }

  // Faults between entries: an entry locked by this process, a file removed,
  // the drive refusing the next rename.
  void ScheduleFaults() {
    if (rng_() % 3 != 0) return;
    const int count = 1 + static_cast<int>(rng_() % 3);
    for (int k = 0; k < count; ++k) {
      const std::size_t at = rng_() % 12;
      if (platform_.desktop.events.size() <= at) platform_.desktop.events.resize(at + 1);
      auto& slot = platform_.desktop.events[at];
      const int kind = static_cast<int>(rng_() % 3);
      const std::uint32_t pick = rng_();
      auto previous = slot;
      slot = [this, previous, kind, pick] {
        if (previous) previous();
        InjectFault(kind, pick);
      };
    }
  }

  void InjectFault(int kind, std::uint32_t pick) {
    if (kind == 2) {
      platform_.files.refusedDrives.insert(u"z:");
      platform_.files.afterRename = [this] {
        platform_.files.refusedDrives.clear();
        platform_.files.afterRename = nullptr;
      };
      ++totals_.injected;
      return;
    }
    const Snapshot now = TakeSnapshot(root_);
    std::vector<const std::pair<const std::uint64_t, EntryRecord>*> files;
    for (const auto& entry : now)
      if (!entry.second.directory && entry.second.contentKnown) files.push_back(&entry);
    if (files.empty()) return;
    const auto& [id, record] = *files[pick % files.size()];
    if (kind == 0) {
      Lock lock(record.path);
      if (lock.Held()) {
        locks_.push_back(std::move(lock));
        ++totals_.injected;
      }
    } else {
      SetFileAttributesW(W(record.path), FILE_ATTRIBUTE_NORMAL);
      if (DeleteFileW(W(record.path))) {
        removed_.insert(id);
        ++totals_.injected;
      }
    }
  }

  // Selected entries: each folder shown in turn, most of its names selected.
  void ConvertFolder(const std::u16string& folder) {
    platform_.files.refusedDrives.clear();
    try {
      window_.DirList.SetPath(folder);
    } catch (const PlatformError&) {
      return;  // removed by a fault meanwhile
    }
    window_.RefreshEntryList();
    int selected = 0;
    for (int i = 0; i < window_.List.Count(); ++i) {
      if (rng_() % 5 == 0) continue;
      window_.List.SetSelected(i, true);
      ++selected;
    }
    const int renames = platform_.files.renames, refused = platform_.files.refusedRenames;
    const int boxes = platform_.BoxesWithText(kRenameFailedText);
    window_.ConversionStart_Click();
    platform_.files.refusedDrives.clear();
    const int failed = platform_.files.refusedRenames - refused;
    const ProgramState& state = window_.State();
    if (state.processedCount.Value() != selected) Mismatch("ProcessedCount is not the number selected");
    if (state.convertedCount.Value() != platform_.files.renames - renames - failed)
      Mismatch("ConvertedCount is not the number of renames done");
    if (platform_.BoxesWithText(kRenameFailedText) - boxes != failed)
      Mismatch("not one failure box per failed rename");
    for (const auto& name : platform_.files.Subdirectories(folder)) ConvertFolder(folder + u"\\" + name);
  }

  // Dropped entries: every file and folder by its full path, in drops of a few
  // at a time, folders before what they hold.
  void DropEverything(const Snapshot& before) {
    std::vector<std::u16string> paths;
    std::map<std::uint64_t, std::vector<std::uint64_t>> children;
    for (const auto& [id, record] : before) children[record.parent].push_back(id);
    std::function<void(std::uint64_t)> visit = [&](std::uint64_t folder) {
      for (std::uint64_t id : children[folder]) {
        paths.push_back(before.at(id).path);
        if (before.at(id).directory) visit(id);
      }
    };
    visit(IdentityOf(root_));
    std::size_t start = 0;
    while (start < paths.size()) {
      const std::size_t n = std::min<std::size_t>(paths.size() - start, 1 + rng_() % 12);
      const std::vector<std::u16string> chunk(paths.begin() + static_cast<long>(start),
                                              paths.begin() + static_cast<long>(start + n));
      start += n;
      const int renames = platform_.files.renames, refused = platform_.files.refusedRenames;
      const int boxes = platform_.BoxesWithText(kRenameFailedText);
      const int beeps = platform_.desktop.beeps;
      window_.OLEDragDrop(DropData{true, chunk});
      const int asked = platform_.files.renames - renames, failed = platform_.files.refusedRenames - refused;
      const ProgramState& state = window_.State();
      if (state.processedCount.Value() != asked) Mismatch("ProcessedCount is not the number that needed it");
      if (state.convertedCount.Value() != asked - failed) Mismatch("ConvertedCount is not the number renamed");
      if (platform_.BoxesWithText(kRenameFailedText) - boxes != failed) Mismatch("not one failure box per failure");
      if (platform_.desktop.beeps - beeps != 1) Mismatch("no beep after the drop");
    }
  }

  // The whole tree: the library lists it, the list window converts it; in
  // choice mode some check marks are taken off first.
  void ConvertWholeTree() {
    platform_.folderPicker.result = root_ + u"\\";
    int listed = -1;
    platform_.windows.onShown = [&](Form& form) {
      auto& list = static_cast<ConversionListWindow&>(form);
      ListBox& shown = list.ChangeFileList(list.ListInUse());
      listed = shown.Count();
      if (list.ListInUse() == 1)
        for (int i = 0; i < shown.Count(); ++i)
          if (rng_() % 4 == 0) shown.SetSelected(i, false);
      if (list.ChangeStart.Enabled()) list.ChangeStart_Click();
      else list.Cancel_Click();
    };
    window_.SMenuAllChange_Click();
    if (platform_.windows.shown != 1 || listed < 0) {
      Mismatch("the conversion list window was not shown");
      return;
    }
    totals_.listed += listed;
    const int asked = platform_.files.renames, failed = platform_.files.refusedRenames;
    const ProgramState& state = window_.State();
    if (state.processedCount.Value() != asked) Mismatch("ProcessedCount is not the number that needed it");
    if (state.convertedCount.Value() != asked - failed) Mismatch("ConvertedCount is not the number renamed");
    if (platform_.BoxesWithText(kRenameFailedText) != 0) Mismatch("a failure box in the list window");
    if (listed > 0) {
      const std::u16string expected = state.convertedCount.Value() != 0
                                          ? CompletionText(state.processedCount.Value(), state.convertedCount.Value())
                                          : std::u16string(u"変換対象ファイルは有りませんでした。");
      if (platform_.messages.shown.empty() || platform_.messages.shown.back().text != expected)
        Mismatch("closing message " + U8(expected) + " not shown");
    }
  }

  const RunSettings& settings_;
  std::u16string root_;
  ConversionPath path_;
  Options options_;
  std::mt19937& rng_;
  Totals& totals_;
  MixedPlatform platform_;
  MainWindow window_{platform_.services};
  std::vector<Lock> locks_;
  std::set<std::uint64_t> removed_;
};

void Account(Totals& totals, const Comparison& c) {
  totals.lost += c.lost;
  totals.otherThanCase += c.renamedOtherThanCase;
  totals.moved += c.moved;
  totals.appeared += c.appeared;
  totals.contentChanged += c.contentChanged;
}

void PrintDetails(const char* what, const Comparison& c) {
  for (const auto& line : c.details) std::printf("%s: %s\n", what, line.c_str());
}

}  // namespace

int RunNoDataLoss(const RunSettings& settings) {
  Totals totals;
  MakeDirectory(settings.base + u"\\temp");
  for (int t = 0; t < settings.trees; ++t) {
    const std::u16string root = settings.base + u"\\t" + Decimal(t);
    const std::uint32_t seed = settings.seed * 1000003u + static_cast<std::uint32_t>(t);
    const Snapshot prepared = TakeSnapshot(root);  // what the Linux side made
    totals.casePairs += static_cast<long long>(prepared.size());
    const GeneratedTree tree = GenerateTree(root, seed, t, TreeShape{settings.entries});
    totals.readOnly += tree.readOnly;
    totals.nearLimit += tree.nearPathLimit;
    const Snapshot initial = TakeSnapshot(root);
    totals.entries += static_cast<long long>(initial.size());
    ++totals.trees;
    std::mt19937 rng(seed);

    // A few files and one folder held open by another process for the whole tree.
    std::vector<std::u16string> toHold;
    for (int k = 0; k < 3 && !tree.files.empty(); ++k) toHold.push_back(tree.files[rng() % tree.files.size()]);
    if (tree.folders.size() > 2) toHold.push_back(tree.folders[rng() % tree.folders.size()]);
    std::sort(toHold.begin(), toHold.end());
    toHold.erase(std::unique(toHold.begin(), toHold.end()), toHold.end());
    HoldingProcess holder;
    if (!holder.Hold(settings.base, toHold)) std::printf("could not start the holding process\n");
    for (const auto& path : toHold) totals.held += HeldOpenElsewhere(path) ? 1 : 0;

    Snapshot known = initial;
    for (ConversionPath path : {ConversionPath::Selected, ConversionPath::Dropped, ConversionPath::TreePlain,
                                ConversionPath::TreeChoice}) {
      for (int dir = 0; dir <= 1; ++dir)
        for (int ext = 0; ext <= 1; ++ext)
          for (int small = 0; small <= 1; ++small) {
            Run run(settings, root, path, Options{small, ext, dir}, rng, totals);
            const Comparison result = run.Execute(known);
            ++totals.runs;
            Account(totals, result);
            if (!result.Clean() || settings.verbose)
              std::printf("tree %d %s small=%d ext=%d dir=%d: %d names changed in case\n", t, PathName(path), small,
                          ext, dir, result.renamed);
            PrintDetails("  ", result);
            known = TakeSnapshot(root, &known);
          }
    }
    holder.Release();
    // With nothing held any more every content can be read: compare with the start.
    std::set<std::uint64_t> removed;
    for (const auto& [id, record] : initial)
      if (!known.count(id)) removed.insert(id);  // already accounted run by run
    const Comparison whole = Compare(initial, TakeSnapshot(root), removed);
    totals.contentChanged += whole.contentChanged;
    totals.moved += whole.moved;
    totals.otherThanCase += whole.renamedOtherThanCase;
    totals.appeared += whole.appeared;
    PrintDetails("whole tree", whole);
  }

  const char* g = "no data loss";
  PrintFigure(g, "trees", totals.trees);
  PrintFigure(g, "entries", totals.entries);
  PrintFigure(g, "entries made on the Linux side (case pairs)", totals.casePairs);
  PrintFigure(g, "read-only entries", totals.readOnly);
  PrintFigure(g, "entries near the path limit", totals.nearLimit);
  PrintFigure(g, "entries held open by another process", totals.held);
  PrintFigure(g, "runs", totals.runs);
  PrintFigure(g, "entries listed by the library", totals.listed);
  PrintFigure(g, "renames asked", totals.renames);
  PrintFigure(g, "renames refused", totals.refused);
  PrintFigure(g, "names changed in case", totals.caseChanges);
  PrintFigure(g, "injected faults", totals.injected);
  PrintFigure(g, "entries lost", totals.lost);
  PrintFigure(g, "names changed other than in case", totals.otherThanCase);
  PrintFigure(g, "entries moved", totals.moved);
  PrintFigure(g, "contents changed", totals.contentChanged);
  PrintFigure(g, "entries appeared", totals.appeared);
  PrintFigure(g, "renames asked outside the entry's own name", totals.outsideOwnName);
  PrintFigure(g, "reports not as designed", totals.reportMismatches);
  return static_cast<int>(totals.lost + totals.otherThanCase + totals.moved + totals.contentChanged +
                          totals.appeared + totals.outsideOwnName + totals.reportMismatches +
                          (totals.trees == settings.trees ? 0 : 1));
}

}  // namespace zefta::reliability
