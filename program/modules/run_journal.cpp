#include "modules/run_journal.h"

#include "services/case_mapping.h"

namespace zefta {

bool RunJournal::Claim() {
  claimed_ = storage_.Claim();
  return claimed_;
}

void RunJournal::Begin(RunKind kind) {
  kind_ = kind;
  failed_ = false;
  renamedAny_ = false;
  steps_ = 0;
  unwritten_.clear();
}

bool RunJournal::Step(const JournalStep& step) {
  if (claimed_ && !failed_) {
    const std::string line = StepLine(steps_ + 1, step);
    const bool written = steps_ == 0 ? storage_.Create(HeaderLine(kind_) + line) : storage_.Append(unwritten_ + line);
    if (written) {
      ++steps_;
      unwritten_.clear();
      return true;
    }
  }
  failed_ = true;
  return false;
}

void RunJournal::Outcome(StepOutcome outcome) {
  if (failed_ || steps_ == 0) return;
  renamedAny_ = renamedAny_ || outcome == StepOutcome::Renamed;
  unwritten_ += DoneLine(steps_, outcome);
}

bool RunJournal::End() {
  if (!claimed_) return failed_;  // the journal is another instance's
  if (!failed_ && steps_ > 0 && !storage_.Append(unwritten_ + EndLine())) failed_ = true;
  if (failed_) {
    // What was recorded is not the whole run, and the run before is no
    // longer the last one.
    storage_.Remove(JournalFile::Current);
    storage_.Remove(JournalFile::LastRun);
    lastRun_ = LastRunState::None;
    return true;
  }
  if (steps_ > 0) {
    Finish(renamedAny_);
  } else if (kind_ == RunKind::Undo) {
    storage_.Remove(JournalFile::LastRun);  // used up all the same
    lastRun_ = LastRunState::None;
  }
  return false;
}

void RunJournal::Finish(bool renamedAny) {
  if (!renamedAny && kind_ == RunKind::Convert) {
    storage_.Remove(JournalFile::Current);  // the run before stays the last one
    return;
  }
  const bool kept = storage_.Rename(JournalFile::Current, JournalFile::LastRun);
  // What the file now holds is known without reading it back, which for a
  // run of a million entries would take hundreds of megabytes.
  if (kept) lastRun_ = kind_ == RunKind::Undo ? LastRunState::None : LastRunState::Undoable;
  else lastRun_.reset();
}

std::optional<StepOutcome> RunJournal::MendStep(FolderEntries& entries, const JournalStep& step, MendReport& report) {
  const std::u16string oldPath = step.folder + step.oldName, newPath = step.folder + step.newName;
  const std::u16string parked = step.folder + step.parkedName;
  // A move cut short may have left a placeholder at the name it was moving to.
  if (!step.parkedName.empty()) entries.ClearPlaceholder(parked);
  entries.ClearPlaceholder(newPath);
  entries.ClearPlaceholder(oldPath);
  // Where a change of letter case is honoured, the parked name may have been
  // learnt on in the other case.
  const auto stored = step.parkedName.empty() ? std::nullopt : entries.StoredName(parked);
  const bool stillParked = stored && MapCase(*stored, CaseDirection::Upper) == MapCase(step.parkedName, CaseDirection::Upper);
  const std::u16string at = stillParked ? step.folder + *stored : parked;
  if (const std::unique_ptr<OpenedEntry> entry = stillParked ? entries.Open(at) : nullptr) {
    if (entry->MoveTo(newPath)) {
      ++report.mended;
      return StepOutcome::Renamed;
    }
    if (entry->MoveTo(oldPath)) {
      ++report.mended;
      return StepOutcome::Refused;
    }
    report.stuck.push_back(at);
    return StepOutcome::Parked;
  }
  // Moved before the program could say so.
  if (!step.outcome && entries.StoredName(newPath) == step.newName) return StepOutcome::Renamed;
  return std::nullopt;
}

MendReport RunJournal::Mend(FolderEntries& entries) {
  MendReport report;
  const WholeFile file = claimed_ ? storage_.Read(JournalFile::Current) : WholeFile{};
  if (file.state == WholeFile::State::Missing) return report;
  // One that cannot be read whole is damaged as far as anyone can tell.
  std::optional<JournalRun> run = file.state == WholeFile::State::Read ? ParseJournal(file.bytes) : std::nullopt;
  if (!run) {
    // Should it not go aside, the next start finds it damaged again and says
    // so again; nothing is renamed by it either way.
    storage_.Rename(JournalFile::Current, JournalFile::SetAside);
    report.damaged = true;
    return report;
  }
  Begin(run->kind);
  steps_ = run->steps.size();
  if (steps_ == 0) {
    storage_.Remove(JournalFile::Current);
    return report;
  }
  bool renamedAny = false;
  for (std::size_t i = 0; i < run->steps.size(); ++i) {
    JournalStep& step = run->steps[i];
    const bool settled = step.outcome == StepOutcome::Renamed || step.outcome == StepOutcome::Refused;
    if (!run->finished && !settled) {
      if (const std::optional<StepOutcome> found = MendStep(entries, step, report)) {
        // Should the line not reach the disk, the next start mends again
        // from what the disk shows, which this mending left settled.
        storage_.Append(DoneLine(i + 1, *found));
        step.outcome = found;
      }
    }
    renamedAny = renamedAny || step.outcome == StepOutcome::Renamed;
  }
  entries.FinishMoves();
  // As above: an end line that is missing only makes the next start look again.
  if (!run->finished) storage_.Append(EndLine());
  Finish(renamedAny);
  lastRun_.reset();  // read again: the end line may not have reached the disk
  return report;
}

LastRunState RunJournal::LastRun() {
  if (!lastRun_) {
    const WholeFile file = storage_.Read(JournalFile::LastRun);
    const bool read = file.state == WholeFile::State::Read;
    const std::optional<JournalSummary> run = read ? SummarizeJournal(file.bytes) : std::nullopt;
    if (file.state == WholeFile::State::Missing) lastRun_ = LastRunState::None;
    else if (!run || !run->finished) lastRun_ = LastRunState::Damaged;
    else lastRun_ = run->kind == RunKind::Convert && run->renamedAny ? LastRunState::Undoable : LastRunState::None;
  }
  return *lastRun_;
}

std::optional<std::vector<JournalStep>> RunJournal::UndoSteps() {
  const WholeFile file = storage_.Read(JournalFile::LastRun);
  if (file.state == WholeFile::State::Missing) return std::vector<JournalStep>{};  // taken away meanwhile
  const auto run = file.state == WholeFile::State::Read ? ParseJournal(file.bytes) : std::nullopt;
  if (!run || !run->finished) return std::nullopt;
  std::vector<JournalStep> steps;
  if (run->kind == RunKind::Convert)
    for (auto step = run->steps.rbegin(); step != run->steps.rend(); ++step)
      if (step->outcome == StepOutcome::Renamed) steps.push_back(*step);
  return steps;
}

void RunJournal::SetAsideLastRun() {
  // As a damaged journal at start: where it cannot go aside it stays, and
  // is found damaged again.
  storage_.Rename(JournalFile::LastRun, JournalFile::SetAside);
  lastRun_ = LastRunState::None;
}

}  // namespace zefta
