#include "modules/entry_renamer.h"

#include "modules/paths.h"
#include "services/case_mapping.h"

namespace zefta {

namespace {

std::u16string Upper(std::u16string_view text) { return MapCase(text, CaseDirection::Upper); }

// A parked name is the entry's own name with ".~zefta" and a digit added;
// the next digit is tried where a name is taken.
constexpr int kParkingAttempts = 10;

std::u16string ParkingSuffix(int attempt) { return u".~zefta" + std::u16string(1, static_cast<char16_t>(u'0' + attempt)); }

}  // namespace

EntryRenamer::CaseMoves& EntryRenamer::CaseMovesOf(std::u16string_view folder) {
  return volumes_[Upper(VolumeOf(folder))];
}

RenameResult EntryRenamer::Rename(std::u16string_view folderView, std::u16string_view name,
                                  std::u16string_view newName) {
  const std::u16string folder(folderView);
  if (name == newName) return {StepOutcome::Renamed, {}};
  // A link is never moved: where a move follows it, it would carry off what
  // it leads to, from wherever that is.
  const std::unique_ptr<OpenedEntry> entry = entries_.Open(folder + std::u16string(name));
  if (!entry) return {StepOutcome::Refused, {}};
  if (Upper(name) != Upper(newName)) return MoveStraight(*entry, folder, name, newName);
  CaseMoves& caseMoves = CaseMovesOf(folder);
  if (caseMoves == CaseMoves::Honoured) return MoveStraight(*entry, folder, name, newName);
  return MoveThroughParkedName(*entry, folder, name, newName, caseMoves);
}

RenameResult EntryRenamer::MoveStraight(OpenedEntry& entry, const std::u16string& folder, std::u16string_view name,
                                        std::u16string_view newName) {
  RecordStep(folder, name, newName, u"");
  const bool moved = entry.MoveTo(folder + std::u16string(newName));
  return RecordOutcome({moved ? StepOutcome::Renamed : StepOutcome::Refused, {}});
}

RenameResult EntryRenamer::MoveThroughParkedName(OpenedEntry& entry, const std::u16string& folder,
                                                 std::u16string_view name, std::u16string_view newName,
                                                 CaseMoves& caseMoves) {
  if (HasCaseTwin(folder, name)) return {StepOutcome::Refused, {}};
  const std::u16string from = folder + std::u16string(name);
  for (int attempt = 0; attempt < kParkingAttempts; ++attempt) {
    const std::u16string suffix = ParkingSuffix(attempt);
    std::u16string parked = from + suffix;
    RecordStep(folder, name, newName, std::u16string(name) + suffix);
    if (!entry.MoveToParkedName(parked)) {
      RecordOutcome({StepOutcome::Refused, {}});
      continue;
    }
    if (caseMoves == CaseMoves::Unknown) {
      // What a change of letter case does on this volume, learnt on the
      // parked name, which no other entry can share.
      const std::u16string flipped = from + Upper(suffix);
      if (entry.MoveTo(flipped)) {
        const bool honoured = entries_.StoredName(flipped) == SplitPath(flipped).name;
        caseMoves = honoured ? CaseMoves::Honoured : CaseMoves::Ignored;
        if (honoured) parked = flipped;
      }
    }
    // Neither move replaces anything: a case twin that appeared since the
    // folder was listed, or a dangling link, keeps the name it holds. The
    // way back is as closed as the way on where Wine keeps both spellings:
    // the old name then leads to the same twin or link.
    if (entry.MoveTo(folder + std::u16string(newName))) return RecordOutcome({StepOutcome::Renamed, {}});
    if (entry.MoveTo(from)) return RecordOutcome({StepOutcome::Refused, {}});
    return RecordOutcome({StepOutcome::Parked, parked});
  }
  return {StepOutcome::Refused, {}};
}

void EntryRenamer::RecordStep(const std::u16string& folder, std::u16string_view name, std::u16string_view newName,
                              std::u16string_view parkedName) {
  // A journal that cannot be written stops no rename: the run tells the user.
  if (journal_)
    journal_->Step({folder, std::u16string(name), std::u16string(newName), std::u16string(parkedName), std::nullopt});
}

RenameResult EntryRenamer::RecordOutcome(RenameResult result) {
  if (journal_) journal_->Outcome(result.outcome);
  return result;
}

bool EntryRenamer::HasCaseTwin(const std::u16string& folder, std::u16string_view name) {
  const std::u16string key = Upper(folder);
  auto listing = listings_.find(key);
  if (listing == listings_.end()) {
    std::unordered_set<std::u16string> seen, twins;
    // A folder that cannot be listed shows no twin; its moves decide.
    if (const auto names = entries_.Names(folder))
      for (const std::u16string& stored : *names)
        if (std::u16string upper = Upper(stored); !seen.insert(upper).second) twins.insert(std::move(upper));
    listing = listings_.emplace(key, std::move(twins)).first;
  }
  return listing->second.count(Upper(name)) != 0;
}

}  // namespace zefta
