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
  return {.name = "About",
          .caption = kCaption,
          .clientWidth = 4095,
          .clientHeight = 4695,
          .fontPoints = 12,
          .border = BorderStyle::FixedDialog,
          .controls = {
              {.name = "CorrespondFrame", .kind = K::Frame, .box = {120, 480, 3855, 3375}, .tabIndex = 3,
               .model = &CorrespondFrame, .caption = kCorrespondFrame},
              {.name = "CorrespondList", .kind = K::ListBox, .box = {120, 240, 3615, 2940}, .tabIndex = 0,
               .model = &CorrespondList, .container = "CorrespondFrame"},
              {.name = "Ok", .kind = K::CommandButton, .box = {2280, 3960, 1695, 615}, .tabIndex = 1, .model = &Ok,
               .caption = kOk},
              {.name = "VersionLabel", .kind = K::Label, .box = {120, 120, 3855, 255}, .tabIndex = 2,
               .model = &VersionLabel, .centered = true, .border = VersionLabelBorder},
          }};
}

void AboutWindow::Load() {
  VersionLabel.SetText(about_texts::kVersion);
  VersionLabelBorder = false;
  for (const char16_t* line : about_texts::kHistory) CorrespondList.AddItem(line);
}

void AboutWindow::Ok_Click() { Unload(); }

}  // namespace zefta
