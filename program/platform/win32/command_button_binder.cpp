// A push button: a click runs the model's Click while the button is enabled.
#include "platform/win32/control_binder.h"

namespace zefta::win32 {

namespace {

class CommandButtonBinder final : public ControlBinder {
 public:
  using ControlBinder::ControlBinder;
  bool CanHoldFocus() const override { return true; }
  void OnCommand(int code) override {
    auto* button = Model<CommandButton>();
    if (code == BN_CLICKED && button && button->Enabled() && button->Click) button->Click();
  }

 private:
  WindowSpec Spec() override { return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, Layout().caption}; }
};

}  // namespace

std::unique_ptr<ControlBinder> MakeCommandButtonBinder(const ControlLayout& layout, int id, HFONT font) {
  return std::make_unique<CommandButtonBinder>(layout, id, font);
}

}  // namespace zefta::win32
