#include "modules/rename.h"

#include <string>

#include "modules/messages.h"

namespace zefta {

bool RenameToConverted(const RenameContext& context, std::u16string_view path, CaseOptions options) {
  const std::u16string newPath = ConvertedPath(path, options);
  if (context.files.Rename(path, newPath)) return true;
  context.desktop.BringToFront(context.mainWindow);
  context.messages.Show(context.mainWindow, kRenameFailedText, MessageTitle(), MessageIcon::Exclamation);
  return false;
}

void RenameEntry(const RenameContext& context, std::u16string_view folderPath, std::u16string_view name,
                 CaseOptions options) {
  context.state.convertedCount.Increment();
  std::u16string oldPath(folderPath);
  oldPath += name;
  if (!RenameToConverted(context, oldPath, options)) context.state.convertedCount.Decrement();
}

}  // namespace zefta
