// The conversion list window: loads the list file of the tree command and
// converts the listed (or the checked) entries from top to bottom.
#include "windows/conversion_list_window.h"

#include <string>
#include <vector>

#include "services/case_mapping.h"
#include "modules/list_file.h"
#include "modules/messages.h"
#include "windows/conversion_list_texts.h"

namespace zefta {

ConversionListWindow::ConversionListWindow(const ConversionListContext& context) : context_(context) {
  SetCaption(conversion_list_texts::kCaption);
  ChangeStart.Click = [this] { ChangeStart_Click(); };
  Cancel.Click = [this] { Cancel_Click(); };
}

FormLayout ConversionListWindow::Layout() {
  using K = ControlKind;
  using namespace conversion_list_texts;
  FormLayout layout{"AllChangeFileList", kCaption, 4935, 4215, 9, BorderStyle::FixedDialog, false, false, false,
                    {}, {}};
  layout.controls = {
      {"ChangeFileList1", K::ListBox, u"", 120, 120, 4695, 3210, 1, nullptr, false, 0, &ChangeFileList1},
      {"ChangeFileListTitle", K::ListBox, u"", 120, 3480, 1335, 600, 2, nullptr, false, 0, &ChangeFileListTitle},
      {"Cancel", K::CommandButton, kCancel, 3240, 3480, 1575, 615, 4, nullptr, false, 12, &Cancel},
      {"ChangeStart", K::CommandButton, kChangeStart, 1560, 3480, 1575, 615, 3, nullptr, false, 12, &ChangeStart},
      {"ChangeFileList0", K::ListBox, u"", 120, 120, 4695, 3300, 0, nullptr, false, 0, &ChangeFileList0},
  };
  return layout;
}

void ConversionListWindow::Load() {
  const Services& services = context_.services;
  CenterForm(*this, services.windows);
  ChangeFileListTitle.SetVisible(false);
  listInUse_ = context_.SMenuCfgSelectMark.Checked() ? 1 : 0;
  ChangeFileList0.SetVisible(listInUse_ == 0);
  ChangeFileList1.SetVisible(listInUse_ == 1);

  // A list file that cannot be opened shows as an empty list.
  std::vector<ListFileRecord> records;
  if (auto bytes = services.fileReader.ReadAll(context_.state.tempDir + conversion_list_texts::kListFileName))
    records = ReadListFile(*bytes, services.codePage);

  std::vector<std::u16string> paths, names;
  paths.reserve(records.size());
  names.reserve(records.size());
  for (const ListFileRecord& record : records) {
    if (!InTree(record.directory)) continue;
    paths.push_back(ListFilePath(record));
    names.push_back(record.name);
  }
  // Filled at once: a tree of many thousand entries loads without a redraw per entry.
  ListBox& list = ChangeFileList(listInUse_);
  list.SetItems(std::move(paths));
  ChangeFileListTitle.SetItems(std::move(names));
  if (listInUse_ == 1) {
    for (int i = 0; i < list.Count(); ++i) list.SetSelected(i, true);
    if (list.Count() > 0) list.SetListIndex(0);
  }
  ChangeStart.SetEnabled(list.Count() > 0);
}

bool ConversionListWindow::InTree(const std::u16string& directory) const {
  const std::u16string& top = context_.topDirectory;
  if (top.empty()) return true;
  const std::u16string upperTop = MapCase(top, CaseDirection::Upper);
  const std::u16string upper = MapCase(directory, CaseDirection::Upper);
  return upper == upperTop || (upper.size() > upperTop.size() && upper.starts_with(upperTop) &&
                               upper[upperTop.size()] == u'\\');
}

void ConversionListWindow::ChangeStart_Click() {
  // The run yields to the event loop; a second click then must not start a
  // nested run or close the window under it.
  if (running_) return;
  ConvertListedEntries();
  Unload();
}

void ConversionListWindow::Cancel_Click() {
  if (running_) return;
  Unload();
}

void ConversionListWindow::ConvertListedEntries() {
  struct RunningFlag {
    bool& flag;
    explicit RunningFlag(bool& f) : flag(f) { flag = true; }
    ~RunningFlag() { flag = false; }
  } runningFlag(running_);

  const Services& services = context_.services;
  ProgramState& state = context_.state;
  state.processedCount.Reset();
  state.convertedCount.Reset();

  ListBox& list = ChangeFileList(listInUse_);
  const int count = list.Count();
  for (int i = 0; i < count && i < list.Count() && i < ChangeFileListTitle.Count(); ++i) {
    bool taken = true;
    if (listInUse_ == 1) {
      taken = list.Selected(i);
      list.SetSelected(i, false);
      list.SetListIndex(i);
    } else {
      list.SetSelected(i, true);
    }
    if (taken) {
      const CaseOptions options = context_.options();
      // The test looks at the entry's own name; the rename keeps the folder part.
      if (NeedsConversion(ChangeFileListTitle.Item(i), options)) {
        state.processedCount.Increment();
        state.convertedCount.Increment();
        const std::u16string& path = list.Item(i);
        // Failures are silent here: the count tells the user.
        if (!services.files.Rename(path, ConvertedPath(path, options))) state.convertedCount.Decrement();
      }
    }
    services.desktop.DoEvents();
  }

  services.desktop.Beep();
  if (!context_.SMenuMsgOn.Checked()) return;
  if (state.convertedCount.Value() != 0)
    Report(CompletionText(state.processedCount.Value(), state.convertedCount.Value()));
  else
    Report(conversion_list_texts::kNothingConverted);
}

void ConversionListWindow::Report(std::u16string_view text) {
  const Services& services = context_.services;
  services.desktop.BringToFront(Handle());
  services.messages.Show(Handle(), text, MessageTitle(), MessageIcon::Information);
}

}  // namespace zefta
