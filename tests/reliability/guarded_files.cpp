#include "guarded_files.h"

#include "modules/name_rule.h"
#include "services/case_mapping.h"

namespace zefta::reliability {

namespace {

bool SameIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return MapCase(a, CaseDirection::Upper) == MapCase(b, CaseDirection::Upper);
}

}  // namespace

std::u16string_view WithoutParking(std::u16string_view name) {
  constexpr std::u16string_view kSuffix = u".~zefta";
  const std::size_t at = name.size() >= kSuffix.size() + 1 ? name.size() - kSuffix.size() - 1 : 0;
  if (at > 0 && name.substr(at, kSuffix.size()) == kSuffix && name.back() >= u'0' && name.back() <= u'9')
    return name.substr(0, at);
  return name;
}

bool GuardedFiles::Move(std::u16string_view from, std::u16string_view to) {
  ++moves;
  const PathParts a = SplitPath(from);
  const PathParts b = SplitPath(to);
  if (!SameIgnoringCase(a.folder, b.folder) || !SameIgnoringCase(WithoutParking(a.name), WithoutParking(b.name))) {
    // Never carried out: what counts is that the program asked for it.
    ++strayMoves;
    return false;
  }
  if (refuseNext) {
    refuseNext = false;
    return false;
  }
  for (const auto& path : held)
    if (SameIgnoringCase(path, from)) return false;
  return real_.Move(from, to);
}

}  // namespace zefta::reliability
