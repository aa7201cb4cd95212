// The conversion list window: every entry of a listed tree as a full path,
// converted from top to bottom on ChangeStart.
#pragma once

#include <cstdint>
#include <functional>

#include "controls/controls.h"
#include "controls/form.h"
#include "modules/conversion_engine.h"
#include "modules/name_rule.h"
#include "modules/program_state.h"
#include "services/listed_tree.h"
#include "forms/window_services.h"

namespace zefta {

// What the window uses of the main window.
struct ConversionListContext {
  Services services;
  ProgramState& state;
  ConversionEngine& engine;
  const MenuItem& SMenuCfgSelectMark;  // choice mode
  const MenuItem& SMenuMsgOn;          // completion message
  std::function<CaseOptions()> options;  // read at every entry
  // The entries of the tree, as the listing found them.
  ListedTree tree;
};

class ConversionListWindow : public Form {
 public:
  explicit ConversionListWindow(ConversionListContext context);

  FormLayout Layout() override;
  void Load() override;
  // The close box does nothing while a run is under way.
  bool QueryUnload() override { return !context_.engine.Running(); }

  void ChangeStart_Click();
  // Closes the window; during a run, stops it after the entry at hand.
  void Cancel_Click();
  // Esc does what キャンセル does.
  bool Escape() override;

  // The list in use: 0 plain, 1 check list (choice mode).
  int ListInUse() const { return listInUse_; }
  // The listed entries, in the order of the list in use.
  const ListedTree& Entries() const { return context_.tree; }

  // Controls, front to back as laid out; ChangeFileList[0] plain, [1] check
  // list. Both draw their rows from the listed tree, which keeps each text once.
  ListBox ChangeFileList1{false, ListBox::Selection::Single, true, ListBox::Rows::Owner};
  ListBox ChangeFileListTitle{false, ListBox::Selection::Single};
  CommandButton Cancel;
  CommandButton ChangeStart;
  ListBox ChangeFileList0{false, ListBox::Selection::Single, false, ListBox::Rows::Owner};

  ListBox& ChangeFileList(int index) { return index == 1 ? ChangeFileList1 : ChangeFileList0; }

 private:
  friend class ListWindowSteps;
  void ConvertListedEntries();
  void Report(std::u16string_view text, MessageIcon icon);

  ConversionListContext context_;
  int listInUse_ = 0;
  bool stopRequested_ = false;
};

}  // namespace zefta
