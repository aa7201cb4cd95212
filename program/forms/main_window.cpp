// The main window: construction, start-up and shutdown, the entry browser and
// the conversion of the selected entries.
#include "forms/main_window.h"

#include <algorithm>
#include <utility>

#include "modules/messages.h"
#include "modules/paths.h"
#include "services/case_mapping.h"
#include "settings/settings.h"
#include "forms/main_window_texts.h"
#include "forms/progress_texts.h"

namespace zefta {

MainWindow::MainWindow(const Services& services)
    : FileList(services.files),
      DirList(services.files),
      DriveList(services.files),
      services_(services),
      journal_(services.journal),
      engine_(services.files, state_.processedCount, state_.convertedCount, &journal_) {
  using namespace main_texts;
  DirCheck.Click = [this] { DirCheck_Click(); };
  DirList.Change = [this] { DirList_Change(); };
  DriveList.Change = [this] { DriveList_Change(); };
  FileList.DblClick = [this] { FileList_DblClick(); };
  List.DblClick = [this] { List_DblClick(); };
  ConversionStart.Click = [this] { ConversionStart_Click(); };
  ProcEnd.Click = [this] { ProcEnd_Click(); };
  SMenuAllChange.Click = [this] { SMenuAllChange_Click(); };
  SMenuCfgSelectMark.Click = [this] { SMenuCfgSelectMark_Click(); };
  SMenuStartPosition.Click = [this] { SMenuStartPosition_Click(); };
  SMenuMsgOn.Click = [this] { SMenuMsgOn_Click(); };
  SMenuHelpVersion.Click = [this] { SMenuHelpVersion_Click(); };
  SMenuUndo.Click = [this] { SMenuUndo_Click(); };
  SMenuUndo.Select = [this] { ShowHint(hint::kUndo, kHintUndo); };

  List.MouseMove = [this] { ShowHint(hint::kList, kHintList); };
  DirCheck.MouseMove = [this] { ShowHint(hint::kDirCheck, kHintDirCheck); };
  SmallCheck.MouseMove = [this] { ShowHint(hint::kSmallCheck, kHintSmallCheck); };
  ExtCheck.MouseMove = [this] { ShowHint(hint::kExtCheck, kHintExtCheck); };
  // Everywhere else the hint panel is emptied; the drive list leaves it alone.
  const auto clearHint = [this] { ShowHint(hint::kEmptied, u""); };
  ConversionStart.MouseMove = clearHint;
  DirList.MouseMove = clearHint;
  FileList.MouseMove = clearHint;
  Frame.MouseMove = clearHint;
  StatusBar.MouseMove = clearHint;
  Form::MouseMove = clearHint;
}

bool MainWindow::Initialize() {
  Desktop& desktop = services_.desktop;
  // The whole argument text, upper-cased, must be exactly the option.
  if (MapCase(services_.environment.CommandLineArguments(), CaseDirection::Upper) == u"/CLEAR") {
    services_.settings.DeleteSection(kSettingsApp, kSettingsSection);
    desktop.EndProgram();
    return false;
  }
  if (desktop.FindWindowByTitle(kProductTitle) != 0) {
    services_.messages.Show(0, main_texts::kAlreadyRunning, MessageTitle(), MessageIcon::Information);
    desktop.EndProgram();
    return false;
  }
  // Only now: a second start must never touch the run of a first one at work.
  if (journal_.Claim()) MendCutRun();
  return true;
}

void MainWindow::Load() {
  SetCaption(main_texts::kCaption);
  StatusBar.SetText(u"");
  StatusBar.SetSpring(true);
  DriveList.Refresh();
  LoadSettings();
  if (SMenuStartPosition.Checked()) CenterForm(*this, services_.windows);
  const int driveIndex = DriveList.ListIndex();
  // No drive at all leaves the first entry as the one to return to.
  state_.lastDriveIndex = driveIndex >= 0 && driveIndex <= 255 ? static_cast<std::uint8_t>(driveIndex) : 0;
  state_.processedCount.Reset();
  UpdateUndo();
  DirCheck_Click();
}

bool MainWindow::QueryUnload() {
  SaveSettings();
  services_.desktop.EndProgram();
  return true;
}

void MainWindow::ProcEnd_Click() {
  SaveSettings();
  services_.desktop.EndProgram();
}

CaseOptions MainWindow::Options() const { return {SmallCheck.Value() == 1, ExtCheck.Value() == 1}; }

void MainWindow::MakeFolderPath() { state_.folderPath = WithSeparator(DirList.Path()); }

void MainWindow::FillEntryList() {
  MakeFolderPath();
  std::vector<std::u16string> listed;
  // A folder that cannot be read (removed, access denied) lists nothing.
  if (auto names = services_.files.Enumerate(state_.folderPath, state_.listAttributes)) {
    listed.reserve(names->size());
    for (auto& name : *names)
      if (name != u"." && name != u"..") listed.push_back(std::move(name));
  }
  state_.entryCount = static_cast<std::int32_t>(listed.size());
  // One fill instead of an insertion per name keeps large folders fast.
  List.SetItems(std::move(listed));
}

void MainWindow::RefreshEntryList() {
  FillEntryList();
  ConversionStart.SetEnabled(state_.entryCount != 0);
}

void MainWindow::SetOptionsEnabled(bool enabled) {
  DirCheck.SetEnabled(enabled);
  SmallCheck.SetEnabled(enabled);
  ProcEnd.SetEnabled(enabled);
}

void MainWindow::DirCheck_Click() {
  // The grey state keeps whatever the list showed before.
  if (DirCheck.Value() == 0) state_.listAttributes = 0;
  else if (DirCheck.Value() == 1) state_.listAttributes = kAttrDirectory;
  RefreshEntryList();
}

void MainWindow::DirList_Change() {
  FileList.SetPath(DirList.Path());
  RefreshEntryList();
}

void MainWindow::DriveList_Change() {
  try {
    DirList.SetPath(DriveList.Drive());
  } catch (const PlatformError&) {
    services_.messages.Show(Handle(), main_texts::kDriveUnreadable, MessageTitle(), MessageIcon::Exclamation);
    // Selecting the last drive runs this handler again for it. When that one
    // cannot be read either, it is already selected and nothing is raised,
    // so the return cannot go round in circles.
    if (DriveList.ListIndex() != state_.lastDriveIndex) {
      try {
        DriveList.SetListIndex(state_.lastDriveIndex);
      } catch (const PlatformError&) {
        // The remembered drive is gone from the list: stay where we are.
      }
    }
  }
  const int driveIndex = DriveList.ListIndex();
  if (driveIndex >= 0 && driveIndex <= 255) state_.lastDriveIndex = static_cast<std::uint8_t>(driveIndex);
  RefreshEntryList();
}

void MainWindow::FileList_DblClick() {
  if (state_.processedCount.Value() != 0) ConversionStart_Click();
}

void MainWindow::ConversionStart_Click() {
  // A click or double-click handled while a run yields starts nothing.
  if (engine_.Running()) return;
  SetOptionsEnabled(false);
  services_.desktop.SetPointer(Handle(), Pointer::Hourglass);
  MakeFolderPath();

  // The events handled between entries may refill List or change the folder
  // shown; the run works on the folder and the selection it started with.
  const int count = std::min<std::int32_t>(state_.entryCount, List.Count());
  std::vector<ConversionEntry> entries;
  std::vector<char> selected;
  entries.reserve(static_cast<std::size_t>(std::max(count, 0)));
  for (int index = 0; index < count; ++index) {
    entries.push_back({state_.folderPath, List.Item(index)});
    selected.push_back(List.Selected(index) ? 1 : 0);
  }
  MainWindowSteps steps(*this, std::move(selected), progress_texts::kConverting);
  const auto report = engine_.Run(entries, ProcessedCounts::EveryTakenEntry, steps);

  services_.desktop.SetPointer(Handle(), Pointer::Default);
  SetOptionsEnabled(true);
  if (!report) return;
  AfterRun(*report);
  if (report->converted != 0 || report->stopped) {
    if (SMenuMsgOn.Checked()) ShowMessage(*ReportText(*report), MessageIcon::Information);
    RefreshEntryList();
  }
}

void MainWindow::List_DblClick() { ConversionStart_Click(); }

void MainWindow::ShowMessage(std::u16string_view text, MessageIcon icon) {
  services_.desktop.BringToFront(Handle());
  services_.messages.Show(Handle(), text, MessageTitle(), icon);
}

void MainWindow::ShowRenameFailure(const ConversionEntry& entry, const RenameResult& result) {
  ShowMessage(result.outcome == StepOutcome::Parked ? LeftParkedText(entry, result)
                                                                  : std::u16string(kRenameFailedText),
              MessageIcon::Exclamation);
}

bool MainWindow::Escape() {
  if (!engine_.Running()) return false;
  stopRequested_ = true;
  return true;
}

void MainWindow::ShowRunProgress(std::u16string text) { StatusBar.SetText(std::move(text)); }

MainWindowSteps::MainWindowSteps(MainWindow& window, std::vector<char> taken, const char16_t* activity)
    : window_(window), taken_(std::move(taken)), progress_(window.Platform().desktop, activity) {}
bool MainWindowSteps::Take(std::size_t index) { return taken_.empty() || taken_[index] != 0; }
CaseOptions MainWindowSteps::Options() { return window_.Options(); }
void MainWindowSteps::Failed(const ConversionEntry& entry, const RenameResult& result) {
  window_.ShowRenameFailure(entry, result);
}
void MainWindowSteps::Advanced(std::size_t done, std::size_t count) {
  if (auto text = progress_.Advanced(done, count)) window_.ShowRunProgress(std::move(*text));
}
void MainWindowSteps::LetEventsRun() { window_.Platform().desktop.DoEvents(); }

}  // namespace zefta
