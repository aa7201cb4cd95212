// The option menu items, the status-bar hints and the About command.
#include "forms/about_window.h"
#include "forms/main_window.h"

namespace zefta {

void MainWindow::SMenuCfgSelectMark_Click() { SMenuCfgSelectMark.SetChecked(!SMenuCfgSelectMark.Checked()); }
void MainWindow::SMenuStartPosition_Click() { SMenuStartPosition.SetChecked(!SMenuStartPosition.Checked()); }
void MainWindow::SMenuMsgOn_Click() { SMenuMsgOn.SetChecked(!SMenuMsgOn.Checked()); }

void MainWindow::ShowHint(std::uint8_t id, std::u16string_view text) {
  // Written once on entering an area, not on every move inside it; during a
  // run the panel shows how far it is.
  if (HintState == id || engine_.Running()) return;
  StatusBar.SetText(std::u16string(text));
  HintState = id;
}

void MainWindow::MenuClosed() {
  if (HintState == hint::kUndo) ShowHint(hint::kEmptied, u"");
}

void MainWindow::SMenuHelpVersion_Click() {
  // A fresh window each time, so its list starts empty.
  AboutWindow about;
  services_.windows.ShowModal(about, *this);
}

}  // namespace zefta
