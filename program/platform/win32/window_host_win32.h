// Shows forms modal over their owner, each built by FormWindow.
#pragma once

#include "controls/form.h"

namespace zefta::win32 {

class Win32WindowHost final : public WindowHost {
 public:
  void ShowModal(Form& form, Form& owner) override;
  int ScreenWidth() override;
  int ScreenHeight() override;
};

}  // namespace zefta::win32
