// The status bar of the common controls with its one panel.
#include <windows.h>
#include <commctrl.h>

#include "platform/win32/binders/control_binder.h"
#include "platform/win32/support/text.h"

namespace zefta::win32 {

namespace {

// The panel's width and minimum width in the layout, until it springs.
constexpr int kPanelTwips = 1440;

class StatusBarBinder final : public ControlBinder {
 public:
  StatusBarBinder(const ControlLayout& row, int id, HFONT font, StatusPanel& panel)
      : ControlBinder(row, id, font), panel_(panel) {}

 private:
  WindowSpec WindowToCreate() override {
    return {STATUSCLASSNAMEW, CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0, u""};
  }
  // The panel's width is in twips: at a new dpi it is set again.
  void SetUpWindow() override { ShowPanelWidth(); }
  void ShowModelState() override {
    ShowPanelWidth();
    SendMessageW(Handle(), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(W(panel_.Text())));
  }
  void ShowPanelWidth() {
    int right = panel_.Spring() ? -1 : TwipsToPixels(kPanelTwips, Dpi());
    SendMessageW(Handle(), SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&right));
  }

  StatusPanel& panel_;
};

}  // namespace

std::unique_ptr<ControlBinder> MakeStatusBarBinder(const ControlLayout& row, int id, HFONT font, StatusPanel& model) {
  return std::make_unique<StatusBarBinder>(row, id, font, model);
}

}  // namespace zefta::win32
