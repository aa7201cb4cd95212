// The status bar of the common controls with its one panel.
#include <windows.h>
#include <commctrl.h>

#include "platform/win32/control_binder.h"
#include "platform/win32/fonts.h"
#include "platform/win32/screen_units.h"
#include "platform/win32/text.h"

namespace zefta::win32 {

namespace {

// The status bar keeps to a size of its own, whatever the window's font.
constexpr int kStatusBarPoints = 9;

class StatusBarBinder final : public ControlBinder {
 public:
  StatusBarBinder(const ControlLayout& row, int id, HFONT font, StatusPanel& panel)
      : ControlBinder(row, id, font), panel_(panel) {}

 private:
  WindowSpec WindowToCreate() override {
    return {STATUSCLASSNAMEW, CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0, u""};
  }
  void ShowModelState() override {
    int right = panel_.Spring() ? -1 : TwipsToPixelsX(1440);
    SendMessageW(Handle(), SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&right));
    SendMessageW(Handle(), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(W(panel_.Text())));
  }

  StatusPanel& panel_;
};

}  // namespace

std::unique_ptr<ControlBinder> MakeStatusBarBinder(const ControlLayout& row, int id, FontSet& fonts,
                                                   StatusPanel& model) {
  return std::make_unique<StatusBarBinder>(row, id, fonts.OfSize(kStatusBarPoints), model);
}

}  // namespace zefta::win32
