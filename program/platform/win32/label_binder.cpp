// A label: a static text, centred or not, with or without a border.
#include "platform/win32/control_binder.h"

namespace zefta::win32 {

namespace {

class LabelBinder final : public CaptionBinder {
 public:
  using CaptionBinder::CaptionBinder;

  // Load may take the border away (or add one).
  void ApplyLayout(const ControlLayout& now) override {
    if (!Handle() || Layout().border == now.border) return;
    MutableLayout().border = now.border;
    const LONG style = GetWindowLongW(Handle(), GWL_STYLE);
    SetWindowLongW(Handle(), GWL_STYLE, now.border ? (style | WS_BORDER) : (style & ~WS_BORDER));
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }

 private:
  WindowSpec Spec() override {
    const ControlLayout& c = Layout();
    return {L"STATIC", static_cast<DWORD>(SS_NOTIFY | (c.centered ? SS_CENTER : SS_LEFT) | (c.border ? WS_BORDER : 0)),
            0, CaptionText()};
  }
};

}  // namespace

std::unique_ptr<ControlBinder> MakeLabelBinder(const ControlLayout& layout, int id, HFONT font) {
  return std::make_unique<LabelBinder>(layout, id, font);
}

}  // namespace zefta::win32
