// Renaming one entry to its converted name, with the failure report.
#pragma once

#include <string_view>

#include "modules/name_rule.h"
#include "modules/program_state.h"
#include "services/services.h"

namespace zefta {

struct RenameContext {
  FileSystem& files;
  MessageBoxes& messages;
  Desktop& desktop;
  WindowHandle mainWindow;
  ProgramState& state;
};

// Renames path to ConvertedPath(path). On failure brings the main window to
// the front and shows the rename-failure message. Returns true on success.
bool RenameToConverted(const RenameContext& context, std::u16string_view path, CaseOptions options);

// Renames folderPath + name (folderPath ends in "\") to its converted name.
// ConvertedCount is raised before the rename and lowered again when it fails.
void RenameEntry(const RenameContext& context, std::u16string_view folderPath, std::u16string_view name,
                 CaseOptions options);

}  // namespace zefta
