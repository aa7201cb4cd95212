// Entry point of ZEFTA.EXE: the real services, the main window and the event loop.
#include <windows.h>
#include <ole2.h>

#include "forms/main_window.h"
#include "platform/win32/services/services_win32.h"
#include "platform/win32/support/fault_report.h"
#include "platform/win32/window/form_window.h"
#include "platform/win32/window/message_loop.h"
#include "platform/win32/window/window_host_win32.h"

namespace {

int RunProgram(int show) {
  using namespace zefta::win32;

  Win32FileSystem files;
  Win32MessageBoxes messages;
  RegistrySettingsStore settings;
  Win32Environment environment;
  Win32Desktop desktop;
  ShellFolderPicker folderPicker;
  ThreadTreeLister treeLister;
  Win32WindowHost windows;
  AppDataJournalStorage journal;
  const zefta::Services services{files, messages, settings, environment, desktop, folderPicker, treeLister, windows, journal};

  zefta::MainWindow main(services);
  if (!main.Initialize()) return 0;

  // Load runs on the finished but still hidden window.
  FormWindow window(main, nullptr, true);
  if (!window.Handle()) return 1;
  main.Load();
  window.ApplyLayoutChanges();
  window.Show(show);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchOne(message);
  return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
  // Drag and drop and the folder picker need OLE on this thread.
  OleInitialize(nullptr);
  // Faults inside window procedures and the keyboard handling of the message
  // loop are reported there and the program goes on. One while the program
  // starts leaves no program to go on with: reported the same way, it ends
  // the program.
  int exitCode = 1;
  zefta::win32::CatchFault(nullptr, "starting", 0, [&] { exitCode = RunProgram(show); });
  OleUninitialize();
  return exitCode;
}
