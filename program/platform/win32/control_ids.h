// Window ids of the controls and menu items the binding creates. Control i of
// a window's layout table gets the id kFirstControlId + i, menu entry i of its
// menu table kFirstMenuId + i. Controls inside a frame are children of the
// frame's window, the others children of the window itself. Test drivers find
// the controls by these ids; no Windows header is needed here.
#pragma once

namespace zefta::win32 {

inline constexpr int kFirstControlId = 1000;
inline constexpr int kFirstMenuId = 2000;

// The main window ZEFTA, in the order of its layout table.
namespace main_ids {
inline constexpr int kStatusBar = kFirstControlId + 0;
inline constexpr int kFrame = kFirstControlId + 1;
inline constexpr int kExtCheck = kFirstControlId + 2;    // inside Frame
inline constexpr int kDirCheck = kFirstControlId + 3;    // inside Frame
inline constexpr int kSmallCheck = kFirstControlId + 4;  // inside Frame
inline constexpr int kList = kFirstControlId + 5;
inline constexpr int kConversionStart = kFirstControlId + 6;
inline constexpr int kFileList = kFirstControlId + 7;
inline constexpr int kDirList = kFirstControlId + 8;
inline constexpr int kDriveList = kFirstControlId + 9;

inline constexpr int kProcEnd = kFirstMenuId + 1;
inline constexpr int kSMenuAllChange = kFirstMenuId + 3;
inline constexpr int kSMenuCfgSelectMark = kFirstMenuId + 5;
inline constexpr int kSMenuStartPosition = kFirstMenuId + 7;
inline constexpr int kSMenuMsgOn = kFirstMenuId + 8;
inline constexpr int kSMenuHelpVersion = kFirstMenuId + 10;
}  // namespace main_ids

// The About window.
namespace about_ids {
inline constexpr int kCorrespondFrame = kFirstControlId + 0;
inline constexpr int kCorrespondList = kFirstControlId + 1;  // inside CorrespondFrame
inline constexpr int kOk = kFirstControlId + 2;
inline constexpr int kVersionLabel = kFirstControlId + 3;
}  // namespace about_ids

// The conversion list window AllChangeFileList.
namespace list_ids {
inline constexpr int kChangeFileList1 = kFirstControlId + 0;  // check list
inline constexpr int kChangeFileListTitle = kFirstControlId + 1;
inline constexpr int kCancel = kFirstControlId + 2;
inline constexpr int kChangeStart = kFirstControlId + 3;
inline constexpr int kChangeFileList0 = kFirstControlId + 4;  // plain list
}  // namespace list_ids

}  // namespace zefta::win32
