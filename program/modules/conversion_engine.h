// The conversion run shared by every way of starting one (the selected entries
// of the main window, dropped files, the conversion list window): the loop,
// the two program-wide counters, the guard against a run inside a run, the
// outcome of each entry and the final report. The windows gather the entries,
// show what happens to each one and show the report.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "modules/entry_renamer.h"
#include "modules/name_rule.h"
#include "modules/program_state.h"
#include "services/listed_tree.h"
#include "services/services.h"

namespace zefta {

// One entry: the folder that holds it (ending in "\") and its own name.
struct ConversionEntry {
  std::u16string folder;
  std::u16string name;
};

// The entry of a full path, split at its last separator.
ConversionEntry EntryOfPath(std::u16string_view path);

// What ProcessedCount counts: every entry taken (the selected entries), or
// only the taken entries whose names need converting (drops, whole trees).
enum class ProcessedCounts { EveryTakenEntry, EntriesNeedingConversion };

// What a window does around the entries of a run.
class ConversionSteps {
 public:
  virtual ~ConversionSteps() = default;
  // Before entry index: whether the entry is taken (the window may show it
  // as the current one here).
  virtual bool Take(std::size_t index) = 0;
  // The options as they stand now; read again for every entry.
  virtual CaseOptions Options() = 0;
  // A rename that failed, as it happens.
  virtual void Failed(const ConversionEntry& entry, const RenameResult& result) = 0;
  // After every entry, taken or not: done of count entries are behind.
  virtual void Advanced(std::size_t done, std::size_t count) {
    (void)done;
    (void)count;
  }
  // After every entry, taken or not.
  virtual void LetEventsRun() = 0;
  // Asked after every entry once the events have run: true ends the run
  // there, as the user asked.
  virtual bool StopRequested() { return false; }
};

struct ConversionReport {
  std::int64_t processed = 0;
  std::int64_t converted = 0;
  bool journalFailed = false;  // the run could not be recorded, so it cannot be undone
  bool stopped = false;        // the user stopped it before its last entry
};

// The closing message of a run, if any: the counts when something was
// converted; otherwise nothingConverted, when given. A stopped run always
// says so first, and then gives its counts.
std::optional<std::u16string> ReportText(const ConversionReport& report, const char16_t* nothingConverted = nullptr);
// The same for an undo.
std::optional<std::u16string> UndoReportText(const ConversionReport& report);

// The message of an entry left under its parked name: where it is now.
std::u16string LeftParkedText(const ConversionEntry& entry, const RenameResult& result);

class ConversionEngine {
 public:
  // The counters are the program's ProcessedCount and ConvertedCount. With a
  // journal, every run is recorded there.
  ConversionEngine(FolderEntries& entries, Counter& processed, Counter& converted, RunJournal* journal = nullptr)
      : entries_(entries), renamer_(entries, journal), processed_(processed), converted_(converted), journal_(journal) {}

  bool Running() const { return running_; }

  // Converts the entries from first to last: each taken entry whose own name
  // needs it is renamed to its converted name in its own folder. Both
  // counters start at 0. nullopt, and nothing done, while a run is under way.
  std::optional<ConversionReport> Run(const std::vector<ConversionEntry>& entries, ProcessedCounts counts,
                                      ConversionSteps& steps);
  // The same for the entries of a listed tree, formed one at a time.
  std::optional<ConversionReport> Run(const ListedTree& entries, ProcessedCounts counts, ConversionSteps& steps);

  // Renames the entries of a journal's run back to their old names, in the
  // order given; an entry that is gone or no longer has its new name is
  // refused. Every entry counts as taken up.
  std::optional<ConversionReport> Undo(const std::vector<JournalStep>& entries, ConversionSteps& steps);

 private:
  template <typename Convert>
  std::optional<ConversionReport> Loop(std::size_t count, RunKind kind, ConversionSteps& steps, Convert convert);
  void ConvertOne(const ConversionEntry& entry, ProcessedCounts counts, ConversionSteps& steps);
  // Counts a failed rename off ConvertedCount and has the window tell it.
  void CountOutcome(const ConversionEntry& entry, const RenameResult& result, ConversionSteps& steps);

  FolderEntries& entries_;
  EntryRenamer renamer_;
  Counter& processed_;
  Counter& converted_;
  RunJournal* journal_;
  bool running_ = false;
};

}  // namespace zefta
