// The conversion list window: every entry of a listed tree as a full path,
// converted from top to bottom on ChangeStart.
#pragma once

#include <cstdint>
#include <functional>

#include <vector>

#include "controls/controls.h"
#include "controls/form.h"
#include "modules/conversion_engine.h"
#include "modules/name_rule.h"
#include "modules/program_state.h"
#include "windows/window_services.h"

namespace zefta {

// What the window uses of the main window.
struct ConversionListContext {
  Services services;
  ProgramState& state;
  ConversionEngine& engine;
  const MenuItem& SMenuCfgSelectMark;  // choice mode
  const MenuItem& SMenuMsgOn;          // completion message
  std::function<CaseOptions()> options;  // read at every entry
  // The directory whose tree the list file holds, as the library received it.
  // Lines of any other tree (a stale list file that the library could not
  // replace) are left out. Empty: every line is taken.
  std::u16string topDirectory;
};

class ConversionListWindow : public Form {
 public:
  explicit ConversionListWindow(const ConversionListContext& context);

  FormLayout Layout() override;
  void Load() override;
  // The close box does nothing while a run is under way.
  bool QueryUnload() override { return !context_.engine.Running(); }

  void ChangeStart_Click();
  void Cancel_Click();

  // The list in use: 0 plain, 1 check list (choice mode).
  int ListInUse() const { return listInUse_; }
  // The listed entries, in the order of the list in use.
  const std::vector<ConversionEntry>& Entries() const { return entries_; }

  // Controls, front to back as laid out; ChangeFileList[0] plain, [1] check list.
  ListBox ChangeFileList1{false, ListBox::Selection::Single, true};
  ListBox ChangeFileListTitle{false, ListBox::Selection::Single};
  CommandButton Cancel;
  CommandButton ChangeStart;
  ListBox ChangeFileList0{false, ListBox::Selection::Single};

  ListBox& ChangeFileList(int index) { return index == 1 ? ChangeFileList1 : ChangeFileList0; }

 private:
  friend class ListWindowSteps;
  void ConvertListedEntries();
  bool InTree(const std::u16string& directory) const;
  void Report(std::u16string_view text, MessageIcon icon);

  ConversionListContext context_;
  int listInUse_ = 0;
  std::vector<ConversionEntry> entries_;
};

}  // namespace zefta
