// A label: a static text, centred or not, with or without a border (which
// the window's Load may change; ControlBinder::ApplyLayout follows it).
#include "platform/win32/binders/control_binder.h"
#include "platform/win32/support/text.h"

namespace zefta::win32 {

namespace {

class LabelBinder final : public ControlBinder {
 public:
  LabelBinder(const ControlLayout& row, int id, HFONT font, Caption& caption)
      : ControlBinder(row, id, font), caption_(caption) {
    AdoptLayoutCaption(caption_, row);
  }

 private:
  WindowSpec WindowToCreate() override {
    const ControlLayout& row = Layout();
    return {L"STATIC", static_cast<DWORD>(SS_NOTIFY | (row.centered ? SS_CENTER : SS_LEFT) | (row.border ? WS_BORDER : 0)),
            0, caption_.Text()};
  }
  void ShowModelState() override { SetWindowTextW(Handle(), W(caption_.Text())); }

  Caption& caption_;
};

}  // namespace

std::unique_ptr<ControlBinder> MakeLabelBinder(const ControlLayout& row, int id, HFONT font, Caption& model) {
  return std::make_unique<LabelBinder>(row, id, font, model);
}

}  // namespace zefta::win32
