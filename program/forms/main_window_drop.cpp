// Drag-and-drop onto the main window: dropped files and folders are converted
// at once, without being listed first.
#include "modules/messages.h"
#include "forms/main_window.h"
#include "forms/progress_texts.h"

namespace zefta {

int MainWindow::OLEDragOver(const DropData& data, int requestedEffect) {
  // No drop while a run is under way: it would reset the counters of that run.
  if (!data.hasFileList || engine_.Running()) return kDropEffectNone;
  // Only copy is offered: a move or link would suggest the files leave their folder.
  return requestedEffect & kDropEffectCopy;
}

void MainWindow::OLEDragDrop(const DropData& data) {
  if (data.hasFileList) ConvertDroppedFiles(data);
}

void MainWindow::ConvertDroppedFiles(const DropData& data) {
  // Only each entry's own name is tested and converted: its folder part
  // (drive letter included) never makes an entry count as needing it.
  std::vector<ConversionEntry> entries;
  entries.reserve(data.files.size());
  for (const std::u16string& path : data.files) entries.push_back(EntryOfPath(path));
  MainWindowSteps steps(*this, {}, progress_texts::kConverting);
  const auto report = engine_.Run(entries, ProcessedCounts::EntriesNeedingConversion, steps);
  if (!report) return;
  AfterRun(*report);
  services_.desktop.Beep();
  if ((report->converted != 0 || report->stopped) && SMenuMsgOn.Checked())
    ShowMessage(*ReportText(*report), MessageIcon::Information);
}

}  // namespace zefta
