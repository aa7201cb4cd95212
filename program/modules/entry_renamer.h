// Renaming one entry of a folder to another spelling of its name, safely on
// every file system the program meets: one that changes the spelling on a
// move that changes letter case only (Windows), and one that reports success
// and keeps the old spelling (Wine on a Linux folder), where a folder may also
// hold two names that differ only in letter case.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "modules/run_journal.h"
#include "services/services.h"

namespace zefta {

struct RenameResult {
  // Renamed; Refused (the entry keeps its name); Parked (both the new name
  // and the way back failed: the entry is at parkedPath).
  StepOutcome outcome = StepOutcome::Refused;
  std::u16string parkedPath;
};

class EntryRenamer {
 public:
  // With a journal, every entry is recorded there before it is moved.
  explicit EntryRenamer(FolderEntries& entries, RunJournal* journal = nullptr) : entries_(entries), journal_(journal) {}

  // A new run: what was learnt of folders' names in an earlier run is
  // forgotten (the folders may have changed since); what was learnt of
  // volumes is kept.
  void BeginRun() { listings_.clear(); }
  void EndRun() { entries_.FinishMoves(); }

  // Renames folder + name to folder + newName (folder ends in "\"); only the
  // entry's own name changes, and no other entry is ever replaced. A link is
  // refused: it is never moved, so nothing it leads to can move either. The
  // entry is opened once and every move takes that very entry.
  //
  // A change of letter case only is moved straight where the volume honours
  // such moves. Where it does not, and on each volume until that is known
  // (learnt on the first parked name there), it goes through a parked name
  // in the same folder, and back to the old name if the new one is taken or
  // the second step fails. Next to a case twin (another entry whose name
  // differs only in letter case) that is refused: both names would lead to
  // the twin. Twins are looked up in one listing of each folder per run.
  // Should the way back fail too, the entry stays under its parked name,
  // which the result then names.
  RenameResult Rename(std::u16string_view folder, std::u16string_view name, std::u16string_view newName);

 private:
  enum class CaseMoves { Unknown, Honoured, Ignored };

  RenameResult MoveStraight(OpenedEntry& entry, const std::u16string& folder, std::u16string_view name,
                            std::u16string_view newName);
  RenameResult MoveThroughParkedName(OpenedEntry& entry, const std::u16string& folder, std::u16string_view name,
                                     std::u16string_view newName, CaseMoves& caseMoves);
  // The journal's record before an entry's first move.
  void RecordStep(const std::u16string& folder, std::u16string_view name, std::u16string_view newName,
                  std::u16string_view parkedName);
  // The journal's record of where the entry ended up; the result itself.
  RenameResult RecordOutcome(RenameResult result);
  bool HasCaseTwin(const std::u16string& folder, std::u16string_view name);
  CaseMoves& CaseMovesOf(std::u16string_view folder);

  FolderEntries& entries_;
  RunJournal* journal_;
  // Per volume ("C:" or "\\server"), upper-cased.
  std::map<std::u16string, CaseMoves> volumes_;
  // Per folder of this run, upper-cased: the upper-cased names that two or
  // more of its names share (in most folders none, so a run over a million
  // entries keeps next to nothing).
  std::unordered_map<std::u16string, std::unordered_set<std::u16string>> listings_;
};

}  // namespace zefta
