// The whole-tree command: pick a top directory, have the library list its
// tree into the list file, and show the conversion list window.
#include "modules/list_file.h"
#include "modules/messages.h"
#include "modules/utf8.h"
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
  const auto topText = ToUtf8(top), listText = ToUtf8(state_.tempDir + conversion_list_texts::kListFileName);
  // A path holding a lone surrogate has no UTF-8 form and nothing can be
  // listed under it; the window, which keeps to the lines of this top
  // directory, then shows an empty list.
  std::optional<std::int32_t> listed = 0;
  if (topText && listText)
    listed = services_.treeLister.MakeDirFileList(
        (DirCheck.Value() == 1 ? TreeLister::kEntryPairs : TreeLister::kFilePairs) | TreeLister::kUtf8, *topText,
        *listText);
  services_.desktop.SetPointer(Handle(), Pointer::Arrow);

  if (!listed) {
    // Without the library no list file was written; an old one would be stale.
    services_.messages.Show(Handle(), conversion_list_texts::kLibraryMissing, MessageTitle(),
                            MessageIcon::Exclamation);
    return;
  }
  ConversionListWindow window({services_, state_, engine_, SMenuCfgSelectMark, SMenuMsgOn,
                               [this] { return Options(); }, top});
  services_.windows.ShowModal(window, *this);
  UpdateUndo();
}

}  // namespace zefta
