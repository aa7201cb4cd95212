// The whole-tree command: pick a top directory, have the library list its
// tree into the list file, and show the conversion list window.
#include "modules/messages.h"
#include "windows/conversion_list_texts.h"
#include "windows/conversion_list_window.h"
#include "windows/main_window.h"
#include "windows/main_window_texts.h"

namespace zefta {

void MainWindow::SMenuAllChange_Click() {
  // Its run would reset the counters of a run under way: nothing until that ends.
  if (engine_.Running()) return;
  std::u16string top = services_.folderPicker.Browse(Handle(), main_texts::kFolderPickerTitle);
  if (top.empty()) return;
  // A drive's root comes back as "C:\"; the library adds the separator itself.
  if (top.back() == u'\\') top.pop_back();
  if (top.empty()) return;

  services_.desktop.SetPointer(Handle(), Pointer::Hourglass);
  const std::int32_t mode = DirCheck.Value() == 1 ? TreeLister::kEntryPairs : TreeLister::kFilePairs;
  const std::string topBytes = services_.codePage.ToAnsi(top);
  const auto listed = services_.treeLister.MakeDirFileList(
      mode, topBytes, services_.codePage.ToAnsi(state_.tempDir + conversion_list_texts::kListFileName));
  services_.desktop.SetPointer(Handle(), Pointer::Arrow);

  if (!listed) {
    // Without the library no list file was written; an old one would be stale.
    services_.messages.Show(Handle(), conversion_list_texts::kLibraryMissing, MessageTitle(),
                            MessageIcon::Exclamation);
    return;
  }
  ConversionListWindow window({services_, state_, engine_, SMenuCfgSelectMark, SMenuMsgOn,
                               [this] { return Options(); }, services_.codePage.FromAnsi(topBytes)});
  services_.windows.ShowModal(window, *this);
  UpdateUndo();
}

}  // namespace zefta
