// The conversion list window: loads the list file of the tree command and
// converts the listed (or the checked) entries from top to bottom.
#include "forms/conversion_list_window.h"

#include <string>
#include <vector>

#include "modules/messages.h"
#include "forms/conversion_list_texts.h"
#include "forms/progress_texts.h"
#include "forms/run_progress.h"

namespace zefta {

ConversionListWindow::ConversionListWindow(ConversionListContext context) : context_(std::move(context)) {
  SetCaption(conversion_list_texts::kCaption);
  ChangeStart.Click = [this] { ChangeStart_Click(); };
  Cancel.Click = [this] { Cancel_Click(); };
}

FormLayout ConversionListWindow::Layout() {
  using K = ControlKind;
  using namespace conversion_list_texts;
  return {.name = "AllChangeFileList",
          .caption = kCaption,
          .clientWidth = 4935,
          .clientHeight = 4215,
          .fontPoints = 9,
          .border = BorderStyle::FixedDialog,
          .controls = {
              {.name = "ChangeFileList1", .kind = K::ListBox, .box = {120, 120, 4695, 3210}, .tabIndex = 1,
               .model = &ChangeFileList1},
              {.name = "ChangeFileListTitle", .kind = K::ListBox, .box = {120, 3480, 1335, 600}, .tabIndex = 2,
               .model = &ChangeFileListTitle},
              {.name = "Cancel", .kind = K::CommandButton, .box = {3240, 3480, 1575, 615}, .tabIndex = 4,
               .model = &Cancel, .caption = kCancel, .fontPoints = 12},
              {.name = "ChangeStart", .kind = K::CommandButton, .box = {1560, 3480, 1575, 615}, .tabIndex = 3,
               .model = &ChangeStart, .caption = kChangeStart, .fontPoints = 12},
              {.name = "ChangeFileList0", .kind = K::ListBox, .box = {120, 120, 4695, 3300}, .tabIndex = 0,
               .model = &ChangeFileList0},
          }};
}

void ConversionListWindow::Load() {
  const Services& services = context_.services;
  CenterForm(*this, services.windows);
  ChangeFileListTitle.SetVisible(false);
  listInUse_ = context_.SMenuCfgSelectMark.Checked() ? 1 : 0;
  ChangeFileList0.SetVisible(listInUse_ == 0);
  ChangeFileList1.SetVisible(listInUse_ == 1);

  const ListedTree& tree = context_.tree;
  ListBox& list = ChangeFileList(listInUse_);
  list.SetRows(tree.Count(), [&tree](std::size_t i) { return tree.PathOf(i); });
  if (listInUse_ == 1) {
    list.SetAllSelected(true);
    if (list.Count() > 0) list.SetListIndex(0);
  }
  ChangeStart.SetEnabled(list.Count() > 0);
  // Nothing left out in silence: entries below a folder the walk could not
  // read are missing, and the user is told where.
  if (tree.UnreadableCount() > 0)
    Report(progress_texts::kUnreadableBefore + DecimalText(tree.UnreadableCount()) + progress_texts::kUnreadableAfter +
               u"\n" + tree.FirstUnreadable(),
           MessageIcon::Exclamation);
}

void ConversionListWindow::ChangeStart_Click() {
  // The run yields to the event loop; a second click then must not start a
  // nested run or close the window under it.
  if (context_.engine.Running()) return;
  ConvertListedEntries();
  Unload();
}

void ConversionListWindow::Cancel_Click() {
  if (context_.engine.Running()) {
    stopRequested_ = true;
    return;
  }
  Unload();
}

bool ConversionListWindow::Escape() {
  Cancel_Click();
  return true;
}

// The highlight (plain list) or the check mark and the current entry (check
// list) walk down the list with the run, and the caption tells how far it is;
// failed renames are counted, not shown.
class ListWindowSteps final : public ConversionSteps {
 public:
  explicit ListWindowSteps(ConversionListWindow& window)
      : window_(window), progress_(window.context_.services.desktop, progress_texts::kConverting) {}
  bool Take(std::size_t index) override {
    ListBox& list = window_.ChangeFileList(window_.listInUse_);
    const int i = static_cast<int>(index);
    if (i >= list.Count()) return false;
    if (window_.listInUse_ == 0) {
      list.SetSelected(i, true);
      return true;
    }
    const bool checked = list.Selected(i);
    list.SetSelected(i, false);
    list.SetListIndex(i);
    return checked;
  }
  CaseOptions Options() override { return window_.context_.options(); }
  void Failed(const ConversionEntry& entry, const RenameResult& result) override {
    // Silent, but for an entry the user would otherwise not find again.
    if (result.outcome == StepOutcome::Parked)
      window_.Report(LeftParkedText(entry, result), MessageIcon::Exclamation);
  }
  void Advanced(std::size_t done, std::size_t count) override {
    if (const auto text = progress_.Advanced(done, count))
      window_.SetCaption(conversion_list_texts::kCaption + (u" - " + *text));
  }
  void LetEventsRun() override { window_.context_.services.desktop.DoEvents(); }
  bool StopRequested() override { return window_.stopRequested_; }

 private:
  ConversionListWindow& window_;
  RunProgress progress_;
};

void ConversionListWindow::ConvertListedEntries() {
  ListWindowSteps steps(*this);
  const auto report = context_.engine.Run(context_.tree, ProcessedCounts::EntriesNeedingConversion, steps);
  if (!report) return;
  if (report->journalFailed) Report(kJournalFailedText, MessageIcon::Exclamation);
  context_.services.desktop.Beep();
  if (context_.SMenuMsgOn.Checked()) Report(*ReportText(*report, kNothingConvertedText), MessageIcon::Information);
}

void ConversionListWindow::Report(std::u16string_view text, MessageIcon icon) {
  const Services& services = context_.services;
  services.desktop.BringToFront(Handle());
  services.messages.Show(Handle(), text, MessageTitle(), icon);
}

}  // namespace zefta
