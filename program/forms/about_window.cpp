// The About window: loaded afresh each time it is shown, closed by OK.
#include "forms/about_window.h"

#include "forms/about_texts.h"

namespace zefta {

AboutWindow::AboutWindow() {
  SetCaption(about_texts::kCaption);
  CorrespondFrame.SetText(about_texts::kCorrespondFrame);
  Ok.Click = [this] { Ok_Click(); };
}

FormLayout AboutWindow::Layout() {
  using K = ControlKind;
  using namespace about_texts;
  FormLayout layout{"About", kCaption, 4095, 4695, 12, BorderStyle::FixedDialog, false, false, false, {}, {}};
  layout.controls = {
      {"CorrespondFrame", K::Frame, kCorrespondFrame, 120, 480, 3855, 3375, 3, nullptr, false, 0, &CorrespondFrame},
      {"CorrespondList", K::ListBox, u"", 120, 240, 3615, 2940, 0, "CorrespondFrame", false, 0, &CorrespondList},
      {"Ok", K::CommandButton, kOk, 2280, 3960, 1695, 615, 1, nullptr, false, 0, &Ok},
      {"VersionLabel", K::Label, u"", 120, 120, 3855, 255, 2, nullptr, false, 0, &VersionLabel, true,
       VersionLabelBorder},
  };
  return layout;
}

void AboutWindow::Load() {
  VersionLabel.SetText(about_texts::kVersion);
  VersionLabelBorder = false;
  for (const char16_t* line : about_texts::kHistory) CorrespondList.AddItem(line);
}

void AboutWindow::Ok_Click() { Unload(); }

}  // namespace zefta
