// The services as the windows receive them, all at once.
#pragma once

#include "controls/form.h"
#include "services/services.h"

namespace zefta {

struct Services {
  FileSystem& files;
  MessageBoxes& messages;
  SettingsStore& settings;
  Environment& environment;
  Desktop& desktop;
  FolderPicker& folderPicker;
  TreeLister& treeLister;
  WindowHost& windows;
  JournalStorage& journal;
};

}  // namespace zefta
