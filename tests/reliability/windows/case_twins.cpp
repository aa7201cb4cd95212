// Renames next to names that differ only in letter case (a case-sensitive
// folder made on the Linux side): each is refused or done, and no entry is
// ever left under a parked name.
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "services/case_mapping.h"
#include "modules/name_rule.h"
#include "platform/win32/services_win32.h"
#include "reliability_runs.h"
#include "reliability_support.h"

namespace zefta::reliability {

int RunCaseTwins(const RunSettings& settings) {
  const std::u16string folder = settings.base + u"\\twins";
  auto names = [&] {
    std::vector<std::u16string> listed;
    for (const auto& [id, record] : TakeSnapshot(folder)) listed.push_back(record.name);
    std::sort(listed.begin(), listed.end());
    return listed;
  };
  const std::vector<std::u16string> start = names();
  if (start.empty()) {
    std::printf("case twins: the Linux side prepared no folder\n");
    return 0;
  }
  win32::Win32FileSystem files;
  int attempts = 0, done = 0, parked = 0, wrong = 0;
  for (const std::u16string& original : start) {
    for (bool lower : {true, false})
      for (bool extensionOnly : {false, true}) {
        std::vector<std::u16string> now = names();
        // The entry as it is spelled now (an earlier attempt may have renamed it).
        auto it = std::find_if(now.begin(), now.end(), [&](const std::u16string& n) {
          return IdentityOf(folder + u"\\" + n) == IdentityOf(folder + u"\\" + original) || n == original;
        });
        if (it == now.end()) continue;
        const std::u16string name = *it;
        const std::u16string target = ConvertName(name, CaseOptions{lower, extensionOnly});
        if (target == name) continue;
        ++attempts;
        const bool ok = files.Rename(folder + u"\\" + name, folder + u"\\" + target);
        std::vector<std::u16string> expected = now;
        if (ok) {
          ++done;
          *std::find(expected.begin(), expected.end(), name) = target;
          std::sort(expected.begin(), expected.end());
        }
        const std::vector<std::u16string> after = names();
        if (after != expected) {
          ++wrong;
          std::printf("case twins: %s -> %s (%s) left the folder other than expected\n", U8(name).c_str(),
                      U8(target).c_str(), ok ? "done" : "refused");
        }
      }
  }
  for (const auto& n : names())
    if (MapCase(n, CaseDirection::Lower).find(u".~zefta") != std::u16string::npos) ++parked;
  const char* g = "no data loss";
  PrintFigure(g, "case-twin renames tried", attempts);
  PrintFigure(g, "case-twin renames done", done);
  PrintFigure(g, "case-twin entries left parked", parked);
  PrintFigure(g, "case-twin folders not as reported", wrong);
  return parked + wrong;
}

}  // namespace zefta::reliability
