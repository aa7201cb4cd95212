// Shows forms modal over their owner, each built by FormWindow, and waits
// for work done elsewhere behind a progress window.
#pragma once

#include "controls/form.h"

namespace zefta::win32 {

class Win32WindowHost final : public WindowHost {
 public:
  void ShowModal(Form& form, Form& owner) override;
  bool WaitFor(Form& progress, Form& owner, const std::function<bool()>& working) override;
  int ScreenWidth() override;
  int ScreenHeight() override;
};

}  // namespace zefta::win32
