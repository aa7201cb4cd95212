// A check box with three states; the model decides the next state of a click.
#include <algorithm>

#include "platform/win32/binders/control_binder.h"

namespace zefta::win32 {

namespace {

class CheckBoxBinder final : public ControlBinder {
 public:
  CheckBoxBinder(const ControlLayout& row, int id, HFONT font, CheckBox& box)
      : ControlBinder(row, id, font), box_(box) {}

  void PassInputToModel(int code) override {
    if (code == BN_CLICKED) box_.UserClick();
  }

 private:
  // Not automatic: the model decides the next state, and 2 shows grey.
  WindowSpec WindowToCreate() override { return {L"BUTTON", BS_3STATE | WS_TABSTOP, 0, Layout().caption}; }
  void ShowModelState() override {
    static constexpr WPARAM kStates[] = {BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE};
    const WPARAM state = kStates[std::clamp(box_.Value(), 0, 2)];
    if (SendMessageW(Handle(), BM_GETCHECK, 0, 0) != static_cast<LRESULT>(state))
      SendMessageW(Handle(), BM_SETCHECK, state, 0);
  }

  CheckBox& box_;
};

}  // namespace

std::unique_ptr<ControlBinder> MakeCheckBoxBinder(const ControlLayout& row, int id, HFONT font, CheckBox& model) {
  return std::make_unique<CheckBoxBinder>(row, id, font, model);
}

}  // namespace zefta::win32
