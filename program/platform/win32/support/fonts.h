// The program's face at the sizes its windows ask for, and what text in it
// needs on the screen.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace zefta::win32 {

// The fonts of one window: each size made once per dpi, all deleted with the
// set. A control keeps its size when the window's dpi changes; SameSize gives
// it that size at the new dpi.
class FontSet {
 public:
  explicit FontSet(int dpi) : dpi_(dpi) {}
  ~FontSet();
  FontSet(const FontSet&) = delete;
  FontSet& operator=(const FontSet&) = delete;
  // The sizes asked for from now on, at dpi.
  void SetDpi(int dpi) { dpi_ = dpi; }
  HFONT OfSize(int points);
  // A font of the set, at its size for the set's dpi now.
  HFONT SameSize(HFONT font);

 private:
  struct Made {
    int points, dpi;
    HFONT font;
  };
  std::vector<Made> fonts_;
  int dpi_;
};

// The height of a line of text drawn from the top of its row: the font's
// cell, or more where the underscore or a descender reaches below it (faces
// differ in how low they draw the underscore; a row that cuts it off makes
// "a_b" read as "a b").
int LineHeight(HFONT font);

// Widths of texts in one font, summed from each character's advance. The
// font is asked once per block of characters, so a list of tens of thousands
// of names is measured with a few additions per character.
class TextMeter {
 public:
  explicit TextMeter(HFONT font) : font_(font) {}
  int Width(std::u16string_view text);
  int Widest(const std::vector<std::u16string>& texts);

 private:
  void LoadBlock(char16_t c);
  HFONT font_;
  std::vector<int> widths_;  // by code unit; -1 until its block is loaded
};

}  // namespace zefta::win32
