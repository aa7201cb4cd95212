// A frame: a group box with its caption, holding the controls inside it.
#include "platform/win32/binders/control_binder.h"
#include "platform/win32/support/text.h"

namespace zefta::win32 {

namespace {

class FrameBinder final : public ControlBinder {
 public:
  FrameBinder(const ControlLayout& row, int id, HFONT font, Caption& caption)
      : ControlBinder(row, id, font), caption_(caption) {
    AdoptLayoutCaption(caption_, row);
  }

 private:
  WindowSpec WindowToCreate() override {
    return {L"BUTTON", BS_GROUPBOX | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, caption_.Text()};
  }
  void ShowModelState() override { SetWindowTextW(Handle(), W(caption_.Text())); }

  bool Intercept(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    switch (message) {
      case WM_ERASEBKGND: {
        // The frame holds its controls itself, so the window behind it no
        // longer paints that area.
        RECT rect;
        GetClientRect(Handle(), &rect);
        FillRect(reinterpret_cast<HDC>(wParam), &rect, GetSysColorBrush(COLOR_BTNFACE));
        result = TRUE;
        return true;
      }
      case WM_NCHITTEST:
        // A group box is transparent to the mouse by default; the frame has
        // its own mouse moves and drops.
        result = HTCLIENT;
        return true;
      case WM_COMMAND:
      case WM_NOTIFY:
      case WM_DRAWITEM:
      case WM_MEASUREITEM:
      case WM_CTLCOLORBTN:
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLORLISTBOX:
        // The controls inside report to the window.
        result = SendMessageW(GetParent(Handle()), message, wParam, lParam);
        return true;
      default:
        return false;
    }
  }

  Caption& caption_;
};

}  // namespace

std::unique_ptr<ControlBinder> MakeFrameBinder(const ControlLayout& row, int id, HFONT font, Caption& model) {
  return std::make_unique<FrameBinder>(row, id, font, model);
}

}  // namespace zefta::win32
