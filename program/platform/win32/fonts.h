// The program's face at the sizes its windows ask for.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

namespace zefta::win32 {

// Each size made once and deleted with the set.
class FontSet {
 public:
  FontSet() = default;
  ~FontSet();
  FontSet(const FontSet&) = delete;
  FontSet& operator=(const FontSet&) = delete;
  HFONT OfSize(int points);

 private:
  std::vector<std::pair<int, HFONT>> fonts_;
};

// The height of the font's cell.
int LineHeight(HFONT font);

}  // namespace zefta::win32
