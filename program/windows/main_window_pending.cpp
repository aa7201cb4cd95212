// Handlers of the main window that are not built yet: each does nothing.
// They move to their own source files as they are written.
#include "windows/main_window.h"

namespace zefta {

int MainWindow::OLEDragOver(const DropData&, int) { return kDropEffectNone; }
void MainWindow::OLEDragDrop(const DropData&) {}
void MainWindow::ConvertDroppedFiles(const DropData&) {}
void MainWindow::ShowHint(std::uint8_t, std::u16string_view) {}
void MainWindow::SMenuAllChange_Click() {}
void MainWindow::SMenuCfgSelectMark_Click() {}
void MainWindow::SMenuStartPosition_Click() {}
void MainWindow::SMenuMsgOn_Click() {}
void MainWindow::SMenuHelpVersion_Click() {}

}  // namespace zefta
