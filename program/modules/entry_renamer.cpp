#include "modules/entry_renamer.h"

#include "modules/name_rule.h"
#include "services/case_mapping.h"

namespace zefta {

namespace {

std::u16string Upper(std::u16string_view text) { return MapCase(text, CaseDirection::Upper); }

// The volume of a folder: its drive ("C:"), or the server of a UNC path.
std::u16string_view VolumeOf(std::u16string_view folder) {
  if (folder.size() >= 2 && folder[1] == u':') return folder.substr(0, 2);
  const std::size_t server = folder.find(u'\\', 2);
  return folder.substr(0, server);
}

constexpr int kParkingAttempts = 10;

}  // namespace

EntryRenamer::CaseMoves& EntryRenamer::CaseMovesOf(std::u16string_view folder) {
  return volumes_[Upper(VolumeOf(folder))];
}

RenameResult EntryRenamer::Rename(std::u16string_view folderView, std::u16string_view name,
                                  std::u16string_view newName) {
  using Outcome = RenameResult::Outcome;
  const std::u16string folder(folderView);
  if (name == newName) return {Outcome::Renamed, {}};
  // A link is never moved: where a move follows it, it would carry off what
  // it leads to, from wherever that is.
  if (entries_.Holder(folder + std::u16string(name)) != NameHolder::Entry) return {Outcome::Refused, {}};
  if (Upper(name) != Upper(newName)) {
    if (entries_.Holder(folder + std::u16string(newName)) != NameHolder::Nothing) return {Outcome::Refused, {}};
    return Directly(folder, name, newName);
  }
  CaseMoves& caseMoves = CaseMovesOf(folder);
  if (caseMoves == CaseMoves::Honoured) return Directly(folder, name, newName);
  return ThroughParkedName(folder, name, newName, caseMoves);
}

RenameResult EntryRenamer::Directly(const std::u16string& folder, std::u16string_view name,
                                    std::u16string_view newName) {
  using Outcome = RenameResult::Outcome;
  Record(folder, name, newName, u"");
  const bool moved = entries_.Move(folder + std::u16string(name), folder + std::u16string(newName));
  return Told({moved ? Outcome::Renamed : Outcome::Refused, {}});
}

RenameResult EntryRenamer::ThroughParkedName(const std::u16string& folder, std::u16string_view name,
                                             std::u16string_view newName, CaseMoves& caseMoves) {
  using Outcome = RenameResult::Outcome;
  if (HasCaseTwin(folder, name)) return {Outcome::Refused, {}};
  const std::u16string from = folder + std::u16string(name);
  const std::u16string to = folder + std::u16string(newName);
  for (int attempt = 0; attempt < kParkingAttempts; ++attempt) {
    const std::u16string suffix = u".~zefta" + std::u16string(1, static_cast<char16_t>(u'0' + attempt));
    std::u16string parked = from + suffix;
    Record(folder, name, newName, std::u16string(name) + suffix);
    if (!entries_.Move(from, parked)) {
      Told({Outcome::Refused, {}});
      continue;
    }
    if (caseMoves == CaseMoves::Unknown) {
      // What a change of letter case does on this volume, learnt on the
      // parked name, which no other entry can share.
      const std::u16string flipped = from + Upper(suffix);
      if (entries_.Move(parked, flipped)) {
        const bool honoured = entries_.StoredName(flipped) == SplitPath(flipped).name;
        caseMoves = honoured ? CaseMoves::Honoured : CaseMoves::Ignored;
        if (honoured) parked = flipped;
      }
    }
    // The new name must be free: a case twin that appeared since the folder
    // was listed, or a dangling link, would be replaced.
    if (entries_.Holder(to) == NameHolder::Nothing && entries_.Move(parked, to)) return Told({Outcome::Renamed, {}});
    // The way back is as closed as the way on: where Wine keeps both
    // spellings, the old name now leads to the same twin or link.
    if (entries_.Holder(from) == NameHolder::Nothing && entries_.Move(parked, from)) return Told({Outcome::Refused, {}});
    return Told({Outcome::LeftParked, parked});
  }
  return {Outcome::Refused, {}};
}

void EntryRenamer::Record(const std::u16string& folder, std::u16string_view name, std::u16string_view newName,
                          std::u16string_view parkedName) {
  // A journal that cannot be written stops no rename: the run tells the user.
  if (journal_)
    journal_->Step({folder, std::u16string(name), std::u16string(newName), std::u16string(parkedName), std::nullopt});
}

RenameResult EntryRenamer::Told(RenameResult result) {
  static constexpr StepOutcome kOutcomes[] = {StepOutcome::Renamed, StepOutcome::Refused, StepOutcome::Parked};
  if (journal_) journal_->Outcome(kOutcomes[static_cast<int>(result.outcome)]);
  return result;
}

bool EntryRenamer::HasCaseTwin(const std::u16string& folder, std::u16string_view name) {
  const std::u16string key = Upper(folder);
  auto listing = listings_.find(key);
  if (listing == listings_.end()) {
    std::unordered_map<std::u16string, int> counts;
    // A folder that cannot be listed shows no twin; its moves decide.
    if (const auto names = entries_.Names(folder))
      for (const std::u16string& stored : *names) ++counts[Upper(stored)];
    listing = listings_.emplace(key, std::move(counts)).first;
  }
  const auto alike = listing->second.find(Upper(name));
  return alike != listing->second.end() && alike->second > 1;
}

}  // namespace zefta
