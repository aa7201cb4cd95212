// The journal of every run: before an entry is moved, a record of its folder,
// its old and new names and any parked name, through to the disk; after it,
// where the entry ended up. A run cut short is mended at the next start, and
// the last run that renamed anything can be undone, once. Only the last
// finished run is kept, and a run under way.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "modules/journal_format.h"
#include "services/services.h"

namespace zefta {

struct MendReport {
  bool damaged = false;  // the journal was set aside unread; nothing was moved
  int mended = 0;        // entries moved from a parked name to their new or old one
  std::vector<std::u16string> stuck;  // parked names that could not be moved
};

enum class LastRunState { None, Undoable, Damaged };

class RunJournal {
 public:
  explicit RunJournal(JournalStorage& storage) : storage_(storage) {}

  // Once, at start: whether this instance keeps the journal. Without it
  // every run goes on unrecorded.
  bool Claim();

  // A run: nothing is written before its first step.
  void Begin(RunKind kind);
  // Before the first move of an entry; false when it could not be written,
  // which turns the journal off for the rest of the run.
  bool Step(const JournalStep& step);
  // Where the entry of the last step ended up.
  void Outcome(StepOutcome outcome);
  // The run is over: kept as the last run when it renamed anything (an undo
  // always, which uses the last run up). True when the journal failed during
  // the run; then neither this run nor the one before can be undone.
  bool End();

  // A run cut short: every entry still under a parked name goes to its new
  // name, or back to its old one where the new one is taken; placeholders
  // that its moves left go.
  MendReport Mend(FolderEntries& entries);

  LastRunState LastRun();
  // The last run's renamed entries, last first; nullopt when damaged.
  std::optional<std::vector<JournalStep>> UndoSteps();
  // A damaged last run goes aside, where the user can still read it.
  void SetAsideLastRun();
  std::u16string PathOf(JournalFile file) { return storage_.PathOf(file); }

 private:
  void Finish(bool renamedAny);
  // Where the entry of a step left unsettled now is, after moving it on or
  // back where it is still parked; nullopt when nothing can be told.
  static std::optional<StepOutcome> MendStep(FolderEntries& entries, const JournalStep& step, MendReport& report);

  JournalStorage& storage_;
  bool claimed_ = false;
  RunKind kind_ = RunKind::Convert;
  bool failed_ = false;
  bool renamedAny_ = false;
  std::size_t steps_ = 0;
  // The last outcome, written with the next step or the end: one write per
  // entry. A cut run's mend tells an outcome that never reached the disk
  // from what the disk shows.
  std::string unwritten_;
  // What LastRun says, once known; unknown until read from the disk.
  std::optional<LastRunState> lastRun_;
};

}  // namespace zefta
