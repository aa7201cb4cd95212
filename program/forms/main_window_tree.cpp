// The whole-tree command: pick a top directory, list its tree off the
// window's thread (with a progress window and キャンセル when it takes a
// while), and show the conversion list window.
#include "forms/conversion_list_window.h"
#include "forms/main_window.h"
#include "forms/main_window_texts.h"
#include "forms/progress_window.h"

namespace zefta {

void MainWindow::SMenuAllChange_Click() {
  // Its run would reset the counters of a run under way: nothing until that ends.
  if (engine_.Running()) return;
  std::u16string top = services_.folderPicker.Browse(Handle(), main_texts::kFolderPickerTitle);
  if (top.empty()) return;
  // A drive's root comes back as "C:\"; the walk adds the separator itself.
  if (top.back() == u'\\') top.pop_back();
  if (top.empty()) return;

  services_.desktop.SetPointer(Handle(), Pointer::Hourglass);
  const std::unique_ptr<TreeListing> listing = services_.treeLister.Start(top, DirCheck.Value() == 1);
  ProgressWindow progress;
  const bool listed = services_.windows.WaitFor(progress, *this, [&] {
    if (listing->Finished()) return false;
    progress.ShowListing(listing->Progress());
    return true;
  });
  services_.desktop.SetPointer(Handle(), Pointer::Arrow);
  // Stopped: nothing was renamed, and no list opens.
  if (!listed) {
    listing->Cancel();
    return;
  }

  ConversionListWindow window({services_, state_, engine_, SMenuCfgSelectMark, SMenuMsgOn,
                               [this] { return Options(); }, listing->Take()});
  services_.windows.ShowModal(window, *this);
  UpdateUndo();
}

}  // namespace zefta
