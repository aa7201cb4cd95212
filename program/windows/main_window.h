// The main window ZEFTA: entry browser, conversion of the selected entries,
// drops, options, start-up and shutdown.
#pragma once

#include <string>
#include <vector>

#include "controls/controls.h"
#include "controls/form.h"
#include "modules/name_rule.h"
#include "modules/program_state.h"
#include "windows/window_services.h"

namespace zefta {

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

  // Drag and drop onto the window and its drop targets.
  int OLEDragOver(const DropData& data, int requestedEffect) override;
  void OLEDragDrop(const DropData& data) override;
  void ConvertDroppedFiles(const DropData& data);

  // Status-bar hints: an area with identifier id and its text.
  void ShowHint(std::uint8_t id, std::u16string_view text);

  // Shown when a run converted something and SMenuMsgOn is checked.
  void ShowCompletionMessage();

  ProgramState& State() { return state_; }
  const Services& Platform() const { return services_; }

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
  MenuItem MenuTool, SMenuAllChange, SMenuToolFil1, SMenuCfgSelectMark;
  MenuItem MenuConfig, SMenuStartPosition, SMenuMsgOn;
  MenuItem MenuHelp, SMenuHelpVersion;

  // Which hint panel 1 shows: 0 at start, 1-4 a control's hint, 255 emptied.
  std::uint8_t HintState = 0;

 private:
  void ConvertSelectedEntries();

  Services services_;
  ProgramState state_;
  bool running_ = false;  // a conversion of selected entries is under way
};

}  // namespace zefta
