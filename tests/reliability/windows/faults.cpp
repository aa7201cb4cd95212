// Faults while a run yields to the event loop: entries removed or locked, the
// folder removed, a drive that cannot be read. The run goes on, reports as
// each path does (a failure box per failed rename in the main window, nothing
// in the list window), and loses nothing.
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "modules/messages.h"
#include "platform/win32/text.h"
#include "reliability_runs.h"
#include "reliability_support.h"
#include "windows/conversion_list_texts.h"
#include "windows/conversion_list_window.h"
#include "windows/main_window.h"
#include "windows/main_window_texts.h"

namespace zefta::reliability {

namespace {

using win32::W;

struct FaultTotals {
  int scenarios = 0, injected = 0, checks = 0, failedChecks = 0, lost = 0, boxesExpected = 0, boxesShown = 0;
  int refused = 0;
};

// One scenario: its own folder, a main window on it, and the bookkeeping of
// what the test did to the tree itself.
class Scenario {
 public:
  Scenario(const RunSettings& settings, const char* name, FaultTotals& totals)
      : name_(name), totals_(totals), platform_(settings.base + u"\\temp") {
    static int serial = 0;
    parent_ = settings.base + u"\\faults\\s" + Decimal(++serial);
    MakeDirectory(settings.base + u"\\faults");
    MakeDirectory(parent_);
    folder_ = parent_ + u"\\Folder.D";
    MakeDirectory(folder_);
    ++totals_.scenarios;
  }

  const std::u16string& Folder() const { return folder_; }
  const std::u16string& Parent() const { return parent_; }
  MixedPlatform& Platform() { return platform_; }
  MainWindow& Window() { return window_; }

  void Files(const std::u16string& folder, std::initializer_list<const char16_t*> names) {
    for (const char16_t* name : names)
      WriteFileBytes(folder + u"\\" + name, "fault scenario " + name_ + " " + U8(folder + u"\\" + name) + "\n");
  }

  // Opens the window on the folder: lower case, whole names, DirCheck as given.
  void Open(int dir) {
    platform_.settings.values[u"ZEFTA\\SYSTEM\\DRV"] = folder_;
    platform_.settings.values[u"ZEFTA\\SYSTEM\\STTPOS"] = u"0";
    window_.SetHandle(42);
    window_.Load();
    window_.DirCheck.SetValue(dir);
    window_.SmallCheck.SetValue(1);
    window_.ExtCheck.SetValue(0);
    window_.SMenuMsgOn.SetChecked(true);
    before_ = TakeSnapshot(parent_);
  }

  // Scripted events: the action runs at the DoEvents call after entry index.
  void After(int index, std::function<void()> action) {
    auto& events = platform_.desktop.events;
    if (events.size() <= static_cast<std::size_t>(index)) events.resize(static_cast<std::size_t>(index) + 1);
    events[static_cast<std::size_t>(index)] = std::move(action);
  }

  void Remove(const std::u16string& path) {
    const std::uint64_t id = IdentityOf(path);
    if (DeleteFileW(W(path))) {
      removed_.insert(id);
      ++totals_.injected;
    } else {
      Fail("could not remove " + U8(path));
    }
  }
  void LockEntry(const std::u16string& path) {
    Lock lock(path);
    if (!lock.Held()) Fail("could not lock " + U8(path));
    locks_.push_back(std::move(lock));
    ++totals_.injected;
  }
  // Moves a folder out of the way: to the program it is gone.
  void TakeAway(const std::u16string& path, const std::u16string& to) {
    const std::uint64_t id = IdentityOf(path);
    if (MoveFileW(W(path), W(to))) {
      moved_.insert(id);
      ++totals_.injected;
    } else {
      Fail("could not take away " + U8(path));
    }
  }
  void RefuseDrive() {
    platform_.files.refusedDrives.insert(u"z:");
    ++totals_.injected;
  }
  void RefuseDriveForOneRename() {
    RefuseDrive();
    platform_.files.afterRename = [this] {
      platform_.files.refusedDrives.clear();
      platform_.files.afterRename = nullptr;
    };
  }

  void Check(bool condition, const std::string& what) {
    ++totals_.checks;
    if (!condition) Fail(what);
  }
  void Fail(const std::string& what) {
    ++totals_.failedChecks;
    std::printf("fault scenario \"%s\": %s\n", name_.c_str(), what.c_str());
  }

  void ExpectBoxes(int renameFailures, std::u16string_view closing) {
    const int shown = platform_.BoxesWithText(kRenameFailedText);
    totals_.boxesExpected += renameFailures;
    totals_.boxesShown += shown;
    Check(shown == renameFailures,
          "failure boxes: " + std::to_string(shown) + ", expected " + std::to_string(renameFailures));
    if (closing.empty()) {
      Check(platform_.BoxesWithText(CompletionText(0, 0)) == 0, "unexpected closing message");
    } else {
      Check(!platform_.messages.shown.empty() && platform_.messages.shown.back().text == closing,
            "closing message is not " + U8(closing) +
                (platform_.messages.shown.empty() ? "" : " but " + U8(platform_.messages.shown.back().text)));
    }
  }

  // The names in a folder now, sorted.
  std::vector<std::u16string> Names(const std::u16string& folder) {
    std::vector<std::u16string> names;
    for (const auto& [id, record] : TakeSnapshot(folder))
      if (record.parent == IdentityOf(folder)) names.push_back(record.name);
    std::sort(names.begin(), names.end());
    return names;
  }
  void ExpectNames(const std::u16string& folder, std::vector<std::u16string> expected) {
    std::sort(expected.begin(), expected.end());
    const auto names = Names(folder);
    std::string got;
    for (const auto& n : names) got += U8(n) + " ";
    Check(names == expected, "names in " + U8(folder) + ": " + got);
  }

  ~Scenario() {
    locks_.clear();
    platform_.files.refusedDrives.clear();
    const Comparison result = Compare(before_, TakeSnapshot(parent_), removed_, moved_);
    totals_.lost += result.lost;
    totals_.refused += platform_.files.refusedRenames;
    Check(result.Clean(), "the tree is not intact");
    for (const auto& line : result.details) std::printf("  %s\n", line.c_str());
  }

 private:
  std::string name_;
  FaultTotals& totals_;
  MixedPlatform platform_;
  MainWindow window_{platform_.services};
  std::u16string parent_, folder_;
  Snapshot before_;
  std::vector<Lock> locks_;
  std::set<std::uint64_t> removed_, moved_;
};

// Shows the conversion list window through the whole-tree command and starts
// it; prepare runs first with the loaded window.
void RunListWindow(Scenario& s, std::function<void(ConversionListWindow&)> prepare) {
  MixedPlatform& p = s.Platform();
  p.folderPicker.result = s.Folder();
  p.windows.onShown = [&](Form& form) {
    auto& list = static_cast<ConversionListWindow&>(form);
    if (prepare) prepare(list);
    if (list.ChangeStart.Enabled()) list.ChangeStart_Click();
    else list.Cancel_Click();
  };
  s.Window().SMenuAllChange_Click();
  s.Check(p.windows.shown == 1 && p.windows.lastUnloaded, "the list window was not shown and closed");
  s.Check(p.desktop.beeps == 1, "no beep at the end of the list window's run");
}

void SelectAll(MainWindow& w) {
  for (int i = 0; i < w.List.Count(); ++i) w.List.SetSelected(i, true);
}

void SelectedEntryRemovedAndLocked(const RunSettings& settings, FaultTotals& totals) {
  Scenario s(settings, "selected: an entry removed, another locked", totals);
  s.Files(s.Folder(), {u"A.TXT", u"B.TXT", u"C.TXT", u"D.TXT", u"E.TXT"});
  s.Open(0);
  SelectAll(s.Window());
  s.After(0, [&] { s.Remove(s.Folder() + u"\\C.TXT"); });
  s.After(1, [&] { s.LockEntry(s.Folder() + u"\\D.TXT"); });
  s.Window().ConversionStart_Click();
  s.ExpectBoxes(2, CompletionText(5, 3));
  s.ExpectNames(s.Folder(), {u"a.txt", u"b.txt", u"D.TXT", u"e.txt"});
  s.Check(s.Window().List.Count() == 4, "the list is not refilled");
}

void SelectedFolderRemoved(const RunSettings& settings, FaultTotals& totals) {
  Scenario s(settings, "selected: the shown folder removed", totals);
  s.Files(s.Folder(), {u"A.TXT", u"B.TXT", u"C.TXT", u"D.TXT"});
  s.Open(0);
  SelectAll(s.Window());
  const std::u16string away = s.Parent() + u"\\gone";
  s.After(0, [&] { s.TakeAway(s.Folder(), away); });
  s.Window().ConversionStart_Click();
  s.ExpectBoxes(3, CompletionText(4, 1));
  s.ExpectNames(away, {u"a.txt", u"B.TXT", u"C.TXT", u"D.TXT"});
  s.Check(s.Window().List.Count() == 0, "the list of a removed folder is not empty");
}

void SelectedDriveUnreadable(const RunSettings& settings, FaultTotals& totals) {
  Scenario s(settings, "selected: the drive cannot be read any more", totals);
  s.Files(s.Folder(), {u"A.TXT", u"B.TXT", u"C.TXT", u"D.TXT", u"E.TXT"});
  s.Open(0);
  SelectAll(s.Window());
  s.After(1, [&] { s.RefuseDrive(); });
  s.Window().ConversionStart_Click();
  s.ExpectBoxes(3, CompletionText(5, 2));
  s.Platform().files.refusedDrives.clear();
  s.ExpectNames(s.Folder(), {u"a.txt", u"b.txt", u"C.TXT", u"D.TXT", u"E.TXT"});
}

void SelectedOtherDriveChosen(const RunSettings& settings, FaultTotals& totals) {
  Scenario s(settings, "selected: a drive without medium chosen meanwhile", totals);
  s.Files(s.Folder(), {u"A.TXT", u"B.TXT", u"C.TXT"});
  s.Open(0);
  SelectAll(s.Window());
  s.After(0, [&] {
    ++totals.injected;
    s.Window().DriveList.SetDrive(u"y:");
  });
  s.Window().ConversionStart_Click();
  s.Check(s.Platform().BoxesWithText(main_texts::kDriveUnreadable) == 1, "no drive message");
  s.ExpectBoxes(0, CompletionText(3, 3));
  s.ExpectNames(s.Folder(), {u"a.txt", u"b.txt", u"c.txt"});
}

void DroppedFaults(const RunSettings& settings, FaultTotals& totals) {
  Scenario s(settings, "dropped: removed, locked, unreadable drive, folder removed", totals);
  const std::u16string f = s.Folder();
  s.Files(f, {u"A.TXT", u"B.TXT", u"C.TXT", u"D.TXT", u"E.TXT"});
  MakeDirectory(f + u"\\SUB");
  s.Files(f + u"\\SUB", {u"X.TXT", u"Y.TXT"});
  s.Open(0);
  s.After(0, [&] { s.Remove(f + u"\\C.TXT"); });
  s.After(1, [&] { s.LockEntry(f + u"\\D.TXT"); });
  s.After(4, [&] { s.TakeAway(f + u"\\SUB", s.Parent() + u"\\SUB.gone"); });
  s.Window().OLEDragDrop(DropData{true,
                                  {f + u"\\A.TXT", f + u"\\B.TXT", f + u"\\C.TXT", f + u"\\D.TXT", u"y:\\MISSING.TXT",
                                   f + u"\\SUB\\X.TXT", f + u"\\SUB\\Y.TXT", f + u"\\E.TXT"}});
  ++totals.injected;  // the path on the drive without medium
  s.ExpectBoxes(5, CompletionText(8, 3));
  s.Check(s.Platform().desktop.beeps == 1, "no beep after the drop");
  s.ExpectNames(f, {u"a.txt", u"b.txt", u"D.TXT", u"e.txt"});
  s.ExpectNames(s.Parent() + u"\\SUB.gone", {u"X.TXT", u"Y.TXT"});
}

void ListWindowEntriesFail(const RunSettings& settings, FaultTotals& totals) {
  Scenario s(settings, "list window: removed, locked, unreadable drive", totals);
  s.Files(s.Folder(), {u"A.TXT", u"B.TXT", u"C.TXT", u"D.TXT", u"E.TXT", u"F.TXT"});
  s.Open(0);
  RunListWindow(s, [&](ConversionListWindow& list) {
    const ListBox& items = list.ChangeFileList(list.ListInUse());
    s.Check(items.Count() == 6, "six entries listed");
    if (items.Count() != 6) return;
    const std::u16string third = items.Item(2), fourth = items.Item(3);
    s.After(0, [&s, third] { s.Remove(third); });
    s.After(1, [&s, fourth] { s.LockEntry(fourth); });
    s.After(3, [&s] { s.RefuseDriveForOneRename(); });
  });
  s.ExpectBoxes(0, CompletionText(6, 3));
  s.Check(s.Names(s.Folder()).size() == 5, "five entries left");
}

void ListWindowFolderRemoved(const RunSettings& settings, FaultTotals& totals) {
  Scenario s(settings, "list window: a listed folder removed", totals);
  const std::u16string f = s.Folder();
  MakeDirectory(f + u"\\SUB");
  s.Files(f + u"\\SUB", {u"X.TXT", u"Y.TXT"});
  s.Files(f, {u"Z.TXT"});
  s.Open(1);
  int expectedConverted = 0;
  RunListWindow(s, [&](ConversionListWindow& list) {
    const ListBox& items = list.ChangeFileList(list.ListInUse());
    s.Check(items.Count() == 4, "four entries listed");
    // The first entry is converted before the folder goes; after that only
    // what lies outside it.
    for (int i = 0; i < items.Count(); ++i)
      if (i == 0 || items.Item(i).find(u"\\SUB") == std::u16string::npos) ++expectedConverted;
    s.After(0, [&] { s.TakeAway(f + u"\\SUB", s.Parent() + u"\\SUB.gone"); });
  });
  s.ExpectBoxes(0, CompletionText(4, static_cast<std::int16_t>(expectedConverted)));
}

void ListWindowTopRemoved(const RunSettings& settings, FaultTotals& totals) {
  Scenario s(settings, "list window: the top folder removed", totals);
  s.Files(s.Folder(), {u"A.TXT", u"B.TXT", u"C.TXT", u"D.TXT"});
  s.Open(0);
  RunListWindow(s, [&](ConversionListWindow&) {
    s.After(0, [&] { s.TakeAway(s.Folder(), s.Parent() + u"\\gone"); });
  });
  s.ExpectBoxes(0, CompletionText(4, 1));
  s.Check(s.Names(s.Parent() + u"\\gone").size() == 4, "four entries in the folder taken away");
}

void ListWindowDriveUnreadable(const RunSettings& settings, FaultTotals& totals) {
  Scenario s(settings, "list window: the drive cannot be read during the whole run", totals);
  s.Files(s.Folder(), {u"A.TXT", u"B.TXT", u"C.TXT"});
  s.Open(0);
  RunListWindow(s, [&](ConversionListWindow&) { s.RefuseDrive(); });
  s.ExpectBoxes(0, conversion_list_texts::kNothingConverted);
  s.Platform().files.refusedDrives.clear();
  s.ExpectNames(s.Folder(), {u"A.TXT", u"B.TXT", u"C.TXT"});
}

void WholeTreeOnMissingDrive(const RunSettings& settings, FaultTotals& totals) {
  Scenario s(settings, "whole tree: a drive that cannot be read", totals);
  s.Open(0);
  const DWORD drives = GetLogicalDrives();
  char16_t letter = u'q';
  while (letter < u'y' && (drives & (1u << (letter - u'a')))) ++letter;
  s.Platform().folderPicker.result = std::u16string(1, letter) + u":\\";
  ++totals.injected;
  int listed = -1;
  bool startEnabled = true;
  s.Platform().windows.onShown = [&](Form& form) {
    auto& list = static_cast<ConversionListWindow&>(form);
    listed = list.ChangeFileList(list.ListInUse()).Count();
    startEnabled = list.ChangeStart.Enabled();
    list.Cancel_Click();
  };
  s.Window().SMenuAllChange_Click();
  s.Check(listed == 0 && !startEnabled, "an unreadable drive lists nothing and leaves only Cancel");
  s.Check(s.Platform().files.renames == 0, "nothing renamed");
  s.Check(s.Platform().messages.shown.empty(), "no message");
}

}  // namespace

int RunFaults(const RunSettings& settings) {
  MakeDirectory(settings.base + u"\\temp");
  FaultTotals totals;
  SelectedEntryRemovedAndLocked(settings, totals);
  SelectedFolderRemoved(settings, totals);
  SelectedDriveUnreadable(settings, totals);
  SelectedOtherDriveChosen(settings, totals);
  DroppedFaults(settings, totals);
  ListWindowEntriesFail(settings, totals);
  ListWindowFolderRemoved(settings, totals);
  ListWindowTopRemoved(settings, totals);
  ListWindowDriveUnreadable(settings, totals);
  WholeTreeOnMissingDrive(settings, totals);

  const char* g = "faults";
  PrintFigure(g, "scenarios", totals.scenarios);
  PrintFigure(g, "injected faults", totals.injected);
  PrintFigure(g, "renames refused", totals.refused);
  PrintFigure(g, "failure boxes expected", totals.boxesExpected);
  PrintFigure(g, "failure boxes shown", totals.boxesShown);
  PrintFigure(g, "checks", totals.checks);
  PrintFigure(g, "checks failed", totals.failedChecks);
  PrintFigure(g, "entries lost", totals.lost);
  return totals.failedChecks + totals.lost;
}

}  // namespace zefta::reliability
