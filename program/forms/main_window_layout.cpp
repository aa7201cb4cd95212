// Static layout of the main window: twips, front to back, tab order.
#include "forms/main_window.h"
#include "forms/main_window_texts.h"

namespace zefta {

FormLayout MainWindow::Layout() {
  using K = ControlKind;
  using namespace main_texts;
  return {.name = "ZEFTA",
          .caption = u"",
          .clientWidth = 6255,
          .clientHeight = 5535,
          .fontPoints = 12,
          .border = BorderStyle::FixedSingle,
          .minimizeButton = true,
          .showInTaskbar = true,
          .dropTarget = true,
          .controls = {
              {.name = "StatusBar", .kind = K::StatusBar, .box = {0, 5160, 6255, 375}, .tabIndex = 9,
               .model = &StatusBar, .fontPoints = 9},
              {.name = "Frame", .kind = K::Frame, .box = {3480, 2760, 2655, 1455}, .tabIndex = 4, .model = &Frame,
               .caption = kFrame, .dropTarget = true},
              {.name = "ExtCheck", .kind = K::CheckBox, .box = {240, 1080, 2295, 255}, .tabIndex = 7,
               .model = &ExtCheck, .caption = kExtCheck, .container = "Frame"},
              {.name = "DirCheck", .kind = K::CheckBox, .box = {240, 360, 1935, 225}, .tabIndex = 5, .model = &DirCheck,
               .caption = kDirCheck, .container = "Frame", .dropTarget = true},
              {.name = "SmallCheck", .kind = K::CheckBox, .box = {240, 720, 1935, 255}, .tabIndex = 6,
               .model = &SmallCheck, .caption = kSmallCheck, .container = "Frame", .dropTarget = true},
              {.name = "List", .kind = K::ListBox, .box = {120, 2760, 3255, 2220}, .tabIndex = 3, .model = &List,
               .dropTarget = true},
              {.name = "ConversionStart", .kind = K::CommandButton, .box = {3480, 4320, 2655, 735}, .tabIndex = 8,
               .model = &ConversionStart, .caption = kConversionStart, .dropTarget = true},
              {.name = "FileList", .kind = K::FileList, .box = {120, 2880, 3255, 1530}, .tabIndex = 2,
               .model = &FileList},
              {.name = "DirList", .kind = K::DirList, .box = {120, 480, 6015, 2250}, .tabIndex = 1, .model = &DirList,
               .dropTarget = true},
              {.name = "DriveList", .kind = K::DriveList, .box = {120, 120, 3255, 360}, .tabIndex = 0,
               .model = &DriveList, .dropTarget = true},
          },
          .menus = {
              {.name = "MenuFile", .caption = kMenuFile, .level = 0, .model = &MenuFile},
              {.name = "ProcEnd", .caption = kProcEnd, .level = 1, .model = &ProcEnd, .shortcut = u"Ctrl+X"},
              {.name = "MenuTool", .caption = kMenuTool, .level = 0, .model = &MenuTool},
              {.name = "SMenuAllChange", .caption = kSMenuAllChange, .level = 1, .model = &SMenuAllChange,
               .shortcut = u"Ctrl+S"},
              {.name = "SMenuToolFil1", .caption = u"-", .level = 1, .model = &SMenuToolFil1},
              {.name = "SMenuCfgSelectMark", .caption = kSMenuCfgSelectMark, .level = 1, .model = &SMenuCfgSelectMark,
               .shortcut = u"Ctrl+C"},
              {.name = "SMenuToolFil2", .caption = u"-", .level = 1, .model = &SMenuToolFil2},
              {.name = "SMenuUndo", .caption = kSMenuUndo, .level = 1, .model = &SMenuUndo, .shortcut = u"Ctrl+Z"},
              {.name = "MenuConfig", .caption = kMenuConfig, .level = 0, .model = &MenuConfig},
              {.name = "SMenuStartPosition", .caption = kSMenuStartPosition, .level = 1, .model = &SMenuStartPosition,
               .shortcut = u"Ctrl+P"},
              {.name = "SMenuMsgOn", .caption = kSMenuMsgOn, .level = 1, .model = &SMenuMsgOn, .shortcut = u"Ctrl+M"},
              {.name = "MenuHelp", .caption = kMenuHelp, .level = 0, .model = &MenuHelp},
              {.name = "SMenuHelpVersion", .caption = kSMenuHelpVersion, .level = 1, .model = &SMenuHelpVersion,
               .shortcut = u"Ctrl+A"},
          }};
}

}  // namespace zefta
