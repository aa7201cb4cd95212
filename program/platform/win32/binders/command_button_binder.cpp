// A push button: a click runs the model's Click while the button is enabled.
#include "platform/win32/binders/control_binder.h"

namespace zefta::win32 {

namespace {

class CommandButtonBinder final : public ControlBinder {
 public:
  CommandButtonBinder(const ControlLayout& row, int id, HFONT font, CommandButton& button)
      : ControlBinder(row, id, font), button_(button) {}

  void PassInputToModel(int code) override {
    if (code == BN_CLICKED && button_.Enabled() && button_.Click) button_.Click();
  }

 private:
  WindowSpec WindowToCreate() override { return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, Layout().caption}; }

  CommandButton& button_;
};

}  // namespace

std::unique_ptr<ControlBinder> MakeCommandButtonBinder(const ControlLayout& row, int id, HFONT font,
                                                       CommandButton& model) {
  return std::make_unique<CommandButtonBinder>(row, id, font, model);
}

}  // namespace zefta::win32
