// The small window that shows how far a listing is, with キャンセル: shown
// modal over the main window while a tree is listed off its thread.
#pragma once

#include "controls/controls.h"
#include "controls/form.h"
#include "services/services.h"

namespace zefta {

class ProgressWindow : public Form {
 public:
  ProgressWindow();

  FormLayout Layout() override;
  // Esc does what キャンセル does.
  bool Escape() override;

  void Cancel_Click();
  // The count found so far and the folder being read.
  void ShowListing(const ListingProgress& progress);

  // Controls, front to back as laid out.
  Caption Activity;
  Caption Place;
  CommandButton Cancel;
};

// A path cut to its last characters, "…" before them, so that the part that
// moves stays in view.
std::u16string PathTail(std::u16string_view path, std::size_t characters);

}  // namespace zefta
