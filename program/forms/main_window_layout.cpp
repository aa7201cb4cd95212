// Static layout of the main window: twips, front to back, tab order.
#include "forms/main_window.h"
#include "forms/main_window_texts.h"

namespace zefta {

FormLayout MainWindow::Layout() {
  using K = ControlKind;
  using namespace main_texts;
  FormLayout layout{"ZEFTA", u"", 6255, 5535, 12, BorderStyle::FixedSingle, true, true, true, {}, {}};
  layout.controls = {
      {"StatusBar", K::StatusBar, u"", 0, 5160, 6255, 375, 9, nullptr, false, 9, &StatusBar},
      {"Frame", K::Frame, kFrame, 3480, 2760, 2655, 1455, 4, nullptr, true, 0, &Frame},
      {"ExtCheck", K::CheckBox, kExtCheck, 240, 1080, 2295, 255, 7, "Frame", false, 0, &ExtCheck},
      {"DirCheck", K::CheckBox, kDirCheck, 240, 360, 1935, 225, 5, "Frame", true, 0, &DirCheck},
      {"SmallCheck", K::CheckBox, kSmallCheck, 240, 720, 1935, 255, 6, "Frame", true, 0, &SmallCheck},
      {"List", K::ListBox, u"", 120, 2760, 3255, 2220, 3, nullptr, true, 0, &List},
      {"ConversionStart", K::CommandButton, kConversionStart, 3480, 4320, 2655, 735, 8, nullptr, true, 0,
       &ConversionStart},
      {"FileList", K::FileList, u"", 120, 2880, 3255, 1530, 2, nullptr, false, 0, &FileList},
      {"DirList", K::DirList, u"", 120, 480, 6015, 2250, 1, nullptr, true, 0, &DirList},
      {"DriveList", K::DriveList, u"", 120, 120, 3255, 360, 0, nullptr, true, 0, &DriveList},
  };
  layout.menus = {
      {"MenuFile", kMenuFile, u"", 0, &MenuFile},
      {"ProcEnd", kProcEnd, u"Ctrl+X", 1, &ProcEnd},
      {"MenuTool", kMenuTool, u"", 0, &MenuTool},
      {"SMenuAllChange", kSMenuAllChange, u"Ctrl+S", 1, &SMenuAllChange},
      {"SMenuToolFil1", u"-", u"", 1, &SMenuToolFil1},
      {"SMenuCfgSelectMark", kSMenuCfgSelectMark, u"Ctrl+C", 1, &SMenuCfgSelectMark},
      {"SMenuToolFil2", u"-", u"", 1, &SMenuToolFil2},
      {"SMenuUndo", kSMenuUndo, u"Ctrl+Z", 1, &SMenuUndo},
      {"MenuConfig", kMenuConfig, u"", 0, &MenuConfig},
      {"SMenuStartPosition", kSMenuStartPosition, u"Ctrl+P", 1, &SMenuStartPosition},
      {"SMenuMsgOn", kSMenuMsgOn, u"Ctrl+M", 1, &SMenuMsgOn},
      {"MenuHelp", kMenuHelp, u"", 0, &MenuHelp},
      {"SMenuHelpVersion", kSMenuHelpVersion, u"Ctrl+A", 1, &SMenuHelpVersion},
  };
  return layout;
}

}  // namespace zefta
