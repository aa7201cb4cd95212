// A check box with three states; the model decides the next state of a click.
#include <algorithm>

#include "platform/win32/control_binder.h"

namespace zefta::win32 {

namespace {

class CheckBoxBinder final : public ControlBinder {
 public:
  using ControlBinder::ControlBinder;
  bool CanHoldFocus() const override { return true; }
  void OnCommand(int code) override {
    if (code == BN_CLICKED && Model<CheckBox>()) Model<CheckBox>()->UserClick();
  }

 private:
  // Not automatic: the model decides the next state, and 2 shows grey.
  WindowSpec Spec() override { return {L"BUTTON", BS_3STATE | WS_TABSTOP, 0, Layout().caption}; }
  void MirrorState() override {
    static constexpr WPARAM kStates[] = {BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE};
    const WPARAM state = kStates[std::clamp(Model<CheckBox>()->Value(), 0, 2)];
    if (SendMessageW(Handle(), BM_GETCHECK, 0, 0) != static_cast<LRESULT>(state))
      SendMessageW(Handle(), BM_SETCHECK, state, 0);
  }
};

}  // namespace

std::unique_ptr<ControlBinder> MakeCheckBoxBinder(const ControlLayout& layout, int id, HFONT font) {
  return std::make_unique<CheckBoxBinder>(layout, id, font);
}

}  // namespace zefta::win32
