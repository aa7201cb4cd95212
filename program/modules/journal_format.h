// The text of the journal of renames: one line per record, its fields
// separated by tabs, each line closed by a check sum of what stands before
// it, so that a damaged or edited line is told from a sound one.
//
//   ZEFTA	journal	1	convert	<sum>                     a run begins (convert or undo)
//   step	<n>	<folder>	<old>	<new>	<parked>	<sum>   before entry n is moved
//   done	<n>	renamed|refused|parked	<sum>           where entry n ended up
//   end	<sum>                                       the run is over
//
// Names are UTF-8; "%", tabs, line ends and other control characters are
// written as %XX, and a half of a UTF-16 pair that stands alone as %uXXXX,
// so every name the file system gives comes back exactly. The sum is the
// CRC-32 of the line's bytes before its last tab, in eight hex digits.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zefta {

enum class RunKind { Convert, Undo };
enum class StepOutcome { Renamed, Refused, Parked };

struct JournalStep {
  std::u16string folder;      // ends in "\"
  std::u16string oldName, newName;
  std::u16string parkedName;  // empty when the entry is moved directly
  std::optional<StepOutcome> outcome;  // the last one recorded
};

struct JournalRun {
  RunKind kind = RunKind::Convert;
  std::vector<JournalStep> steps;
  bool finished = false;
};

std::string HeaderLine(RunKind kind);
// number counts the steps of the run from 1.
std::string StepLine(std::size_t number, const JournalStep& step);
std::string DoneLine(std::size_t number, StepOutcome outcome);
std::string EndLine();

// The run the text holds; nullopt when it is damaged: a line that fails its
// sum or stands out of place. A last line without its line end is one the
// program was writing when it was cut short, and is left out: the move it
// came before never began.
std::optional<JournalRun> ParseJournal(std::string_view text);

// How the run the text holds ended, read as strictly as ParseJournal but
// without keeping its names: a run of a million entries costs a byte each.
struct JournalSummary {
  RunKind kind = RunKind::Convert;
  bool finished = false;
  bool renamedAny = false;  // an entry whose last outcome is renamed
};
std::optional<JournalSummary> SummarizeJournal(std::string_view text);

}  // namespace zefta
