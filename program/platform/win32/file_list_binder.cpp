// The file list: the files of the folder it follows.
#include "platform/win32/list_binder.h"

namespace zefta::win32 {

namespace {

class FileListBinder final : public ListBinder {
 public:
  FileListBinder(const ControlLayout& layout, int id, HFONT font) : ListBinder(layout, id, font, false) {}

  void OnCommand(int code) override {
    if (code == LBN_DBLCLK && Model<FileList>() && Model<FileList>()->DblClick) Model<FileList>()->DblClick();
  }

 private:
  WindowSpec Spec() override { return ListSpec(0); }
  void MirrorState() override { FillList(Model<FileList>()->Files()); }
};

}  // namespace

std::unique_ptr<ControlBinder> MakeFileListBinder(const ControlLayout& layout, int id, HFONT font) {
  return std::make_unique<FileListBinder>(layout, id, font);
}

}  // namespace zefta::win32
