// The journal of renames in the main window: a run cut short (a crash, a
// power cut, the task ended) is mended at start, and the last run can be
// undone from the Tool menu, also after a restart.
#include "modules/messages.h"
#include "forms/main_window.h"
#include "forms/main_window_texts.h"
#include "forms/progress_texts.h"

namespace zefta {

namespace {

// At most this many names in one message; the rest are counted.
constexpr std::size_t kNamesShown = 10;

}  // namespace

void MainWindow::MendCutRun() {
  using namespace main_texts;
  const MendReport report = journal_.Mend(services_.files);
  // Each part that has something to say, one after the other.
  std::vector<std::u16string> parts;
  if (report.damaged) parts.push_back(std::u16string(kJournalDamaged) + u"\n" + journal_.PathOf(JournalFile::SetAside));
  if (report.mended > 0) parts.push_back(kMendedBefore + DecimalText(report.mended) + kMendedAfter);
  if (!report.stuck.empty()) {
    std::u16string stuck = kNotMended;
    for (std::size_t i = 0; i < report.stuck.size() && i < kNamesShown; ++i) stuck += u"\n" + report.stuck[i];
    if (report.stuck.size() > kNamesShown) stuck += u"\n… (" + DecimalText(static_cast<std::int64_t>(report.stuck.size())) + u")";
    parts.push_back(std::move(stuck));
  }
  // Nothing left over: nothing to say.
  if (parts.empty()) return;
  std::u16string text = parts.front();
  for (std::size_t i = 1; i < parts.size(); ++i) text += u"\n" + parts[i];
  const bool whole = !report.damaged && report.stuck.empty();
  services_.messages.Show(0, text, MessageTitle(), whole ? MessageIcon::Information : MessageIcon::Exclamation);
}

void MainWindow::UpdateUndo() { SMenuUndo.SetEnabled(journal_.LastRun() != LastRunState::None); }

void MainWindow::AfterRun(const ConversionReport& report) {
  stopRequested_ = false;
  // The panel leaves the run's progress; the next area entered shows its hint.
  StatusBar.SetText(u"");
  HintState = hint::kEmptied;
  if (report.journalFailed) ShowMessage(kJournalFailedText, MessageIcon::Exclamation);
  UpdateUndo();
}

void MainWindow::SMenuUndo_Click() {
  if (engine_.Running()) return;
  const auto steps = journal_.UndoSteps();
  if (!steps) {
    // Never renames anything by a record it cannot trust.
    journal_.SetAsideLastRun();
    UpdateUndo();
    ShowMessage(std::u16string(main_texts::kJournalDamaged) + u"\n" + journal_.PathOf(JournalFile::SetAside),
                MessageIcon::Exclamation);
    return;
  }
  SetOptionsEnabled(false);
  services_.desktop.SetPointer(Handle(), Pointer::Hourglass);
  MainWindowSteps runSteps(*this, {}, progress_texts::kUndoing);
  const auto report = engine_.Undo(*steps, runSteps);
  services_.desktop.SetPointer(Handle(), Pointer::Default);
  SetOptionsEnabled(true);
  if (!report) return;
  AfterRun(*report);
  RefreshEntryList();
  if (const auto text = UndoReportText(*report); text && SMenuMsgOn.Checked())
    ShowMessage(*text, MessageIcon::Information);
}

}  // namespace zefta
