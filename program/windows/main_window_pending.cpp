// Handlers of the main window that are not built yet: each does nothing.
// They move to their own source files as they are written.
#include "windows/main_window.h"

namespace zefta {

void MainWindow::SMenuAllChange_Click() {}

}  // namespace zefta
