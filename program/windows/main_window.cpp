// The main window: construction, start-up and shutdown, the entry browser and
// the conversion of the selected entries.
#include "windows/main_window.h"

#include "modules/case_mapping.h"
#include "modules/messages.h"
#include "modules/rename.h"
#include "windows/main_window_texts.h"

namespace zefta {

MainWindow::MainWindow(const Services& services)
    : FileList(services.files), DirList(services.files), DriveList(services.files), services_(services) {
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

  List.MouseMove = [this] { ShowHint(1, kHintList); };
  DirCheck.MouseMove = [this] { ShowHint(2, kHintDirCheck); };
  SmallCheck.MouseMove = [this] { ShowHint(3, kHintSmallCheck); };
  ExtCheck.MouseMove = [this] { ShowHint(4, kHintExtCheck); };
  // Everywhere else the hint panel is emptied; the drive list leaves it alone.
  const auto clearHint = [this] { ShowHint(255, u""); };
  ConversionStart.MouseMove = clearHint;
  DirList.MouseMove = clearHint;
  FileList.MouseMove = clearHint;
  Frame.MouseMove = clearHint;
  StatusBar.MouseMove = clearHint;
  Form::MouseMove = clearHint;
}

bool MainWindow::Initialize() { return true; }
void MainWindow::Load() {}
bool MainWindow::QueryUnload() { return true; }
void MainWindow::ProcEnd_Click() {}

CaseOptions MainWindow::Options() const { return {SmallCheck.Value() == 1, ExtCheck.Value() == 1}; }

void MainWindow::MakeFolderPath() {}
void MainWindow::FillEntryList() {}
void MainWindow::RefreshEntryList() {}
void MainWindow::SetOptionsEnabled(bool) {}
void MainWindow::DirCheck_Click() {}
void MainWindow::DirList_Change() {}
void MainWindow::DriveList_Change() {}
void MainWindow::FileList_DblClick() {}
void MainWindow::ConversionStart_Click() {}
void MainWindow::List_DblClick() {}
void MainWindow::ShowCompletionMessage() {}
void MainWindow::ConvertSelectedEntries() {}

}  // namespace zefta
