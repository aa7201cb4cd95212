// The drive list: a drop-down list of the machine's drives. The choice counts
// when the user makes it, not while the highlight moves in the open list.
#include "platform/win32/binders/control_binder.h"
#include "platform/win32/support/fonts.h"
#include "platform/win32/support/text.h"

namespace zefta::win32 {

namespace {

class DriveListBinder final : public ControlBinder {
 public:
  DriveListBinder(const ControlLayout& row, int id, HFONT font, DriveList& drives)
      : ControlBinder(row, id, font), drives_(drives) {}

  void PassInputToModel(int code) override {
    const bool dropped = SendMessageW(Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
    if (code == CBN_SELENDOK || (code == CBN_SELCHANGE && !dropped)) {
      const int index = static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
      if (index >= 0 && index != drives_.ListIndex()) drives_.SetListIndex(index);
      Mirror();
    } else if (code == CBN_SELENDCANCEL) {
      Mirror();
    }
  }

 private:
  // The window includes the drop-down part.
  WindowSpec WindowToCreate() override {
    return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, u"", 3000};
  }

  void SetUpWindow() override {
    // The closed drive list takes the height of its layout. Systems differ
    // in how the field height maps to the window's, so it is approached by
    // measuring.
    int field = static_cast<int>(SendMessageW(Handle(), CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    for (int attempt = 0; attempt < 4; ++attempt) {
      RECT rect;
      GetWindowRect(Handle(), &rect);
      const int diff = PlaceAt(Layout(), Dpi()).Height() - (rect.bottom - rect.top);
      if (diff == 0 || field + diff <= 0) break;
      field += diff;
      SendMessageW(Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    }
    // The rows of the open list grow where a glyph reaches below the font's cell.
    const int line = LineHeight(Font());
    if (SendMessageW(Handle(), CB_GETITEMHEIGHT, 0, 0) < line) SendMessageW(Handle(), CB_SETITEMHEIGHT, 0, line);
  }

  void ShowModelState() override {
    if (drives_.Drives() != shownDrives_) {
      shownDrives_ = drives_.Drives();
      SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
      for (const auto& drive : shownDrives_) SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(drive)));
    }
    SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(drives_.ListIndex()), 0);
  }

  DriveList& drives_;
  std::vector<std::u16string> shownDrives_;
};

}  // namespace

std::unique_ptr<ControlBinder> MakeDriveListBinder(const ControlLayout& row, int id, HFONT font, DriveList& model) {
  return std::make_unique<DriveListBinder>(row, id, font, model);
}

}  // namespace zefta::win32
