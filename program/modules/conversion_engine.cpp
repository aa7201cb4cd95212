#include "modules/conversion_engine.h"

#include "modules/messages.h"
#include "modules/paths.h"

namespace zefta {

ConversionEntry EntryOfPath(std::u16string_view path) {
  const PathParts parts = SplitPath(path);
  return {std::u16string(parts.folder), std::u16string(parts.name)};
}

std::optional<std::u16string> ReportText(const ConversionReport& report, const char16_t* nothingConverted) {
  if (report.stopped) return kStoppedText + (u"\n" + CompletionText(report.processed, report.converted));
  if (report.converted != 0) return CompletionText(report.processed, report.converted);
  if (nothingConverted) return std::u16string(nothingConverted);
  return std::nullopt;
}

std::optional<std::u16string> UndoReportText(const ConversionReport& report) {
  if (report.stopped) return kUndoStoppedText + (u"\n" + UndoneText(report.processed, report.converted));
  if (report.converted != 0) return UndoneText(report.processed, report.converted);
  return std::nullopt;
}

std::u16string LeftParkedText(const ConversionEntry& entry, const RenameResult& result) {
  return std::u16string(kRenameFailedText) + u"\n「" + entry.folder + entry.name + u"」は「" + result.parkedPath +
         u"」という名前で残っています。";
}

template <typename Convert>
std::optional<ConversionReport> ConversionEngine::Loop(std::size_t count, RunKind kind, ConversionSteps& steps,
                                                       Convert convert) {
  // Events handled while the run yields could start another run, which
  // would reset the counters under this one and walk the same entries.
  if (running_) return std::nullopt;
  struct Guard {
    bool& flag;
    explicit Guard(bool& f) : flag(f) { flag = true; }
    ~Guard() { flag = false; }
  } guard(running_);

  processed_.Reset();
  converted_.Reset();
  renamer_.BeginRun();
  if (journal_) journal_->Begin(kind);
  bool stopped = false;
  for (std::size_t i = 0; i < count && !stopped; ++i) {
    if (steps.Take(i)) convert(i);
    steps.Advanced(i + 1, count);
    steps.LetEventsRun();
    stopped = i + 1 < count && steps.StopRequested();
  }
  renamer_.EndRun();
  // A stopped run is a finished one: what it renamed can be undone.
  const bool journalFailed = journal_ && journal_->End();
  return ConversionReport{processed_.Value(), converted_.Value(), journalFailed, stopped};
}

void ConversionEngine::CountOutcome(const ConversionEntry& entry, const RenameResult& result, ConversionSteps& steps) {
  if (result.outcome == StepOutcome::Renamed) return;
  converted_.Decrement();
  steps.Failed(entry, result);
}

void ConversionEngine::ConvertOne(const ConversionEntry& entry, ProcessedCounts counts, ConversionSteps& steps) {
  const CaseOptions options = steps.Options();
  const bool needed = NeedsConversion(entry.name, options);
  if (counts == ProcessedCounts::EveryTakenEntry || needed) processed_.Increment();
  if (!needed) return;
  converted_.Increment();
  CountOutcome(entry, renamer_.Rename(entry.folder, entry.name, ConvertName(entry.name, options)), steps);
}

std::optional<ConversionReport> ConversionEngine::Run(const std::vector<ConversionEntry>& entries,
                                                      ProcessedCounts counts, ConversionSteps& steps) {
  return Loop(entries.size(), RunKind::Convert, steps, [&](std::size_t i) { ConvertOne(entries[i], counts, steps); });
}

std::optional<ConversionReport> ConversionEngine::Run(const ListedTree& entries, ProcessedCounts counts,
                                                      ConversionSteps& steps) {
  return Loop(entries.Count(), RunKind::Convert, steps, [&](std::size_t i) {
    ConvertOne({WithSeparator(entries.FolderOf(i)), std::u16string(entries.NameOf(i))}, counts, steps);
  });
}

std::optional<ConversionReport> ConversionEngine::Undo(const std::vector<JournalStep>& entries, ConversionSteps& steps) {
  return Loop(entries.size(), RunKind::Undo, steps, [&](std::size_t i) {
    const JournalStep& step = entries[i];
    processed_.Increment();
    converted_.Increment();
    // Renamed since, or gone: not the entry this run renamed.
    const bool unchanged = entries_.StoredName(step.folder + step.newName) == step.newName;
    CountOutcome({step.folder, step.newName},
            unchanged ? renamer_.Rename(step.folder, step.newName, step.oldName) : RenameResult{},
            steps);
  });
}

}  // namespace zefta
