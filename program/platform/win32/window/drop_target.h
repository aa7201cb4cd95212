// Drag and drop onto the windows: OLE drop targets that hand the dropped-file
// list to the form's OLEDragOver and OLEDragDrop.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "controls/form.h"

namespace zefta::win32 {

// Registers a drop target for hwnd. One that does not accept refuses every
// drag, so that a drag over it does not reach the target of the window behind.
void RegisterDropTarget(HWND hwnd, Form& form, bool accepts);

// The dropped-file list of a CF_HDROP block.
DropData DropDataFromHdrop(HDROP drop);

}  // namespace zefta::win32
