// The file list: the files of the folder it follows.
#include "platform/win32/binders/list_rows.h"

namespace zefta::win32 {

namespace {

class FileListBinder final : public ControlBinder {
 public:
  FileListBinder(const ControlLayout& row, int id, HFONT font, FileList& files)
      : ControlBinder(row, id, font), files_(files) {}

  void PassInputToModel(int code) override {
    if (code == LBN_DBLCLK && files_.DblClick) files_.DblClick();
  }

 private:
  WindowSpec WindowToCreate() override { return ListWindow(0); }
  void SetUpWindow() override { SetRowHeight(Handle(), RowHeightsOf(Font(), false), false); }
  void ShowModelState() override { FillList(Handle(), files_.Files()); }

  FileList& files_;
};

}  // namespace

std::unique_ptr<ControlBinder> MakeFileListBinder(const ControlLayout& row, int id, HFONT font, FileList& model) {
  return std::make_unique<FileListBinder>(row, id, font, model);
}

}  // namespace zefta::win32
