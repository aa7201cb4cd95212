// The About window: version label and version history.
#pragma once

#include "controls/controls.h"
#include "controls/form.h"

namespace zefta {

class AboutWindow : public Form {
 public:
  AboutWindow();

  FormLayout Layout() override;
  void Load() override;

  void Ok_Click();

  // Controls, front to back as laid out.
  Caption CorrespondFrame;
  ListBox CorrespondList{false, ListBox::Selection::Single};
  CommandButton Ok;
  Caption VersionLabel;
  // The label's single-line border; the window takes it away when it loads.
  bool VersionLabelBorder = true;
};

}  // namespace zefta
