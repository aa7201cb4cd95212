// The no-data-loss property: every way of converting (selected entries,
// drops, the whole tree plainly and with check marks) in every option set,
// over generated trees, with faults while the runs yield. Afterwards every
// entry is still there, in its folder, with its content, and its name
// changed in letter case at most, or left under a parked name that a message
// named; and every run reported what it did as designed.
#pragma once

#include <cstdint>

#include "world.h"

namespace zefta::reliability {

struct PropertySettings {
  int firstTree = 0;     // trees are numbered; each one is made from the seed and its number alone
  int trees = 3;
  int runsPerTree = 32;  // the runs cycle through the 32 paths and option sets
  int entries = 12;      // made in each tree
  std::uint32_t seed = 7;
  std::uint32_t stream = 0;  // one sequence of trees per world kind
};

struct PropertyTotals {
  long long trees = 0, entries = 0, runs = 0, moves = 0, caseChanges = 0, failedRenames = 0;
  long long faults = 0, twinsMade = 0, leftParkedReported = 0;
  long long lost = 0, moved = 0, otherThanCase = 0, contentChanged = 0, appeared = 0, outsideTouched = 0;
  long long strayMoves = 0, reportsNotAsDesigned = 0, leftOutOfTheList = 0;
  long long firstFailingTree = -1;
  bool Clean() const {
    return lost + moved + otherThanCase + contentChanged + appeared + outsideTouched + strayMoves +
               reportsNotAsDesigned + leftOutOfTheList ==
           0;
  }
};

PropertyTotals RunProperty(World& world, const PropertySettings& settings);

// One whole-tree conversion of a tree made elsewhere, started as a user
// starts it: every listed entry taken, the completion message shown.
struct WholeTreeReport {
  int listed = -1;       // entries in the conversion list window; -1 when it was not shown
  std::u16string closing;  // the closing message
};
WholeTreeReport ConvertWholeTreeOnce(World& world, const std::u16string& root, bool lower, bool extensionOnly,
                                     bool directories);

// "FIGURE|<group>|<name>|<value>" lines, one per figure.
void PrintFigures(const char* group, const PropertyTotals& totals);

}  // namespace zefta::reliability
