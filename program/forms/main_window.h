// The main window ZEFTA: entry browser, conversion of the selected entries,
// drops, options, start-up and shutdown.
#pragma once

#include <string>
#include <vector>

#include "controls/controls.h"
#include "controls/form.h"
#include "modules/conversion_engine.h"
#include "modules/name_rule.h"
#include "modules/program_state.h"
#include "modules/run_journal.h"
#include "forms/run_progress.h"
#include "forms/window_services.h"

namespace zefta {

// What status-bar panel 1 shows (MainWindow::HintState).
namespace hint {
inline constexpr std::uint8_t kNotSet = 0;  // at start, before the first mouse move
inline constexpr std::uint8_t kList = 1;
inline constexpr std::uint8_t kDirCheck = 2;
inline constexpr std::uint8_t kSmallCheck = 3;
inline constexpr std::uint8_t kExtCheck = 4;
inline constexpr std::uint8_t kUndo = 5;  // the undo item highlighted in its menu
inline constexpr std::uint8_t kEmptied = 255;  // by a move over any other area but the drive list
}  // namespace hint

class MainWindow : public Form {
 public:
  explicit MainWindow(const Services& services);

  FormLayout Layout() override;

  // Life cycle.
  // The command line and the previous-instance check. Returns false when the
  // program ends here (the window is then never loaded).
  bool Initialize();
  void Load() override;
  bool QueryUnload() override;

  // The options as the rule reads them, from the check boxes at this moment.
  CaseOptions Options() const;

  // Entry browser.
  void MakeFolderPath();
  void FillEntryList();
  void RefreshEntryList();
  void SetOptionsEnabled(bool enabled);
  void DirCheck_Click();
  void DirList_Change();
  void DriveList_Change();
  void FileList_DblClick();

  // Converting the selected entries.
  void ConversionStart_Click();
  void List_DblClick();

  // Settings.
  void LoadSettings();
  void SaveSettings();

  // Menus.
  void ProcEnd_Click();
  void SMenuAllChange_Click();
  void SMenuCfgSelectMark_Click();
  void SMenuStartPosition_Click();
  void SMenuMsgOn_Click();
  void SMenuHelpVersion_Click();

  // The journal: a run cut short is mended at start; the last run undone.
  void MendCutRun();
  void SMenuUndo_Click();
  // The undo item is grey when there is nothing to undo.
  void UpdateUndo();
  // After every run: a journal that could not be written is told, once.
  void AfterRun(const ConversionReport& report);

  // Esc stops a run under way after the entry at hand.
  bool Escape() override;
  bool StopRequested() const { return stopRequested_; }
  // During a run, how far it is: in the status bar, where hints wait meanwhile.
  void ShowRunProgress(std::u16string text);

  // Drag and drop onto the window and its drop targets.
  int OLEDragOver(const DropData& data, int requestedEffect) override;
  void OLEDragDrop(const DropData& data) override;
  void ConvertDroppedFiles(const DropData& data);

  // Status-bar hints: an area with identifier id and its text.
  void ShowHint(std::uint8_t id, std::u16string_view text);
  // A hint of a menu item goes with its menu: the panel shows the idle text.
  void MenuClosed() override;

  // A message box over the main window, which comes to the front first.
  void ShowMessage(std::u16string_view text, MessageIcon icon);
  // The failure of one rename, as the main window reports it.
  void ShowRenameFailure(const ConversionEntry& entry, const RenameResult& result);

  ProgramState& State() { return state_; }
  const Services& Platform() const { return services_; }
  ConversionEngine& Engine() { return engine_; }
  RunJournal& Journal() { return journal_; }

  // Controls, front to back as laid out.
  StatusPanel StatusBar;  // panel 1 of the status bar
  Caption Frame;
  CheckBox ExtCheck;
  CheckBox DirCheck;
  CheckBox SmallCheck;
  ListBox List{true, ListBox::Selection::Extended};
  CommandButton ConversionStart;
  zefta::FileList FileList;
  zefta::DirList DirList;
  zefta::DriveList DriveList;

  // Menus.
  MenuItem MenuFile, ProcEnd;
  MenuItem MenuTool, SMenuAllChange, SMenuToolFil1, SMenuCfgSelectMark, SMenuToolFil2, SMenuUndo;
  MenuItem MenuConfig, SMenuStartPosition, SMenuMsgOn;
  MenuItem MenuHelp, SMenuHelpVersion;

  std::uint8_t HintState = hint::kNotSet;

 private:
  Services services_;
  ProgramState state_;
  RunJournal journal_;
  // One run at a time, whichever way it was started.
  ConversionEngine engine_;
  bool stopRequested_ = false;
};

// The steps of the main window's runs: the selected entries (taken as given),
// dropped files and the undo (all taken); failures are reported one box
// each, and how far the run is in the status bar.
class MainWindowSteps final : public ConversionSteps {
 public:
  // taken: per entry, whether it is taken; empty takes every entry.
  // activity: what the progress says the run does.
  MainWindowSteps(MainWindow& window, std::vector<char> taken, const char16_t* activity);
  bool Take(std::size_t index) override;
  CaseOptions Options() override;
  void Failed(const ConversionEntry& entry, const RenameResult& result) override;
  void Advanced(std::size_t done, std::size_t count) override;
  void LetEventsRun() override;
  bool StopRequested() override { return window_.StopRequested(); }

 private:
  MainWindow& window_;
  std::vector<char> taken_;
  RunProgress progress_;
};

}  // namespace zefta
