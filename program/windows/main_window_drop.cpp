// Drag-and-drop onto the main window: dropped files and folders are converted
// at once, without being listed first.
#include "modules/name_rule.h"
#include "modules/rename.h"
#include "windows/main_window.h"

namespace zefta {

int MainWindow::OLEDragOver(const DropData& data, int requestedEffect) {
  // Only copy is offered: a move or link would suggest the files leave their folder.
  return data.hasFileList ? (requestedEffect & kDropEffectCopy) : kDropEffectNone;
}

void MainWindow::OLEDragDrop(const DropData& data) {
  if (data.hasFileList) ConvertDroppedFiles(data);
}

void MainWindow::ConvertDroppedFiles(const DropData& data) {
  state_.processedCount.Reset();
  state_.convertedCount.Reset();
  const RenameContext context{services_.files, services_.messages, services_.desktop, Handle(), state_};
  // The drop data may belong to the binding; the run yields, so work on a copy.
  const std::vector<std::u16string> paths = data.files;
  for (const std::u16string& path : paths) {
    const CaseOptions options = Options();
    // Only the entry's own name is tested and converted: its folder part
    // (drive letter included) never makes an entry count as needing it.
    if (NeedsConversion(SplitPath(path).name, options)) {
      state_.processedCount.Increment();
      state_.convertedCount.Increment();
      if (!RenameToConverted(context, path, options)) state_.convertedCount.Decrement();
    }
    services_.desktop.DoEvents();
  }
  services_.desktop.Beep();
  if (state_.convertedCount.Value() != 0 && SMenuMsgOn.Checked()) ShowCompletionMessage();
}

}  // namespace zefta
