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
  using ControlBinder::ControlBinder;

 private:
  WindowSpec Spec() override { return {STATUSCLASSNAMEW, CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0, u""}; }
  void MirrorState() override {
    auto* panel = Model<StatusPanel>();
    int right = panel->Spring() ? -1 : TwipsToPixelsX(1440);
    SendMessageW(Handle(), SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&right));
    SendMessageW(Handle(), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(W(panel->Text())));
  }
};

}  // namespace

std::unique_ptr<ControlBinder> MakeStatusBarBinder(const ControlLayout& layout, int id, FontSet& fonts) {
  return std::make_unique<StatusBarBinder>(layout, id, fonts.OfSize(kStatusBarPoints));
}

}  // namespace zefta::win32
