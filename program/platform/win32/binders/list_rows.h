// What the list kinds share, as plain helpers that each list binder calls
// itself: the list box window, rows tall enough for every glyph of the font,
// filling at once, painting owner-drawn rows, a highlight that a run may move
// thousands of times, and rows as wide as the widest entry.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/controls.h"
#include "platform/win32/binders/control_binder.h"
#include "platform/win32/support/fonts.h"

namespace zefta::win32 {

// A list box with a client edge, vertical scrolling and the given styles.
WindowSpec ListWindow(DWORD style);

// Heights in pixels: the line of text drawn from a row's top, and the row.
struct RowHeights {
  int line;
  int row;
};
// Owner-drawn rows keep a pixel above and below the text.
RowHeights RowHeightsOf(HFONT font, bool ownerDrawn);
// Gives the list its row height. A plain list box makes its rows as tall as
// the font's cell; they grow only where a glyph reaches below it.
void SetRowHeight(HWND list, const RowHeights& heights, bool ownerDrawn);

// Replaces the items, drawing once at the end.
void FillList(HWND list, const std::vector<std::u16string>& items);

// An owner-drawn row: the background in the row's colours, then the text from
// x on, as high in the row as the other lists show it, and the focus frame.
void PaintRowBackground(const DRAWITEMSTRUCT& item);
void PaintRowText(const DRAWITEMSTRUCT& item, const RowHeights& heights, int x, const std::u16string& text,
                  UINT format);

// The highlight (LB_SETCURSEL) of a list. Moving it scrolls the list and
// repaints it and its scroll bar at once, which takes milliseconds (under
// Wine about 20, most of it the scroll bar). A run that walks down thousands
// of entries would spend more on that than on its renames, so the highlight
// moves at most every 250 ms, and no sooner than 50 times the last move took:
// it never costs a run more than a fiftieth of its time. A move asked for
// sooner is shown by a timer, which the run's event loop serves.
class PacedHighlight {
 public:
  void Move(HWND list, int index);
  // The row highlighted, or to be highlighted when the timer fires.
  int Shown(HWND list) const;
  // The user's choice is newer than any highlight still waiting.
  void DropPending(HWND list);
  // WM_TIMER of the list: true when it was this timer's.
  bool OnTimer(HWND list, WPARAM timer);

 private:
  // Highlights the row now and sets when the next move may come.
  void MoveNow(HWND list, int index);

  bool pending_ = false;
  int pendingIndex_ = -1;
  DWORD lastMove_ = 0;
  DWORD interval_ = 0;  // from the last move to the next
};

// Rows as wide as the widest entry, so that the list scrolls sideways to it
// instead of cutting a long name or path.
class RowWidth {
 public:
  // textLeft: pixels before an entry's text in its row.
  RowWidth(HFONT font, int textLeft) : meter_(font), textLeft_(textLeft) {}
  void Fit(HWND list, const std::vector<std::u16string>& items);
  void Fit(HWND list, const ListBox& rows);
  void Widen(HWND list, const std::u16string& item);

 private:
  void SetExtent(HWND list);
  TextMeter meter_;
  int textLeft_;
  int widest_ = 0;
  int extent_ = 0;
};

// A ListBox model's changes (ListBox::onListChanged) handed to show, from
// now on (and the whole list once) or no longer.
void FollowListChanges(ListBox& model, bool follow, std::function<void(ListBox::Change, int)> show);
// The model's items shown afresh (owner rows by their count: the list holds
// no text), or the one added at index, with the rows as wide as the widest.
void ShowAllItems(HWND list, const ListBox& model, RowWidth& width);
void ShowAddedItem(HWND list, const ListBox& model, int index, RowWidth& width);

// Repaints one row, when it is in view; the others are drawn as they
// scroll in.
void RepaintRowInView(HWND list, int row);

// The row at a point of the list's client area, -1 for none. Counted from
// the top row and the fixed row height: LB_ITEMFROMPOINT gives only the low
// 16 bits of an index.
int RowAtPoint(HWND list, POINT point);

// What a list answers itself for its model, ahead of the list box: drags of
// the scroll box by its 32-bit track position (the positions WM_VSCROLL
// carries stop at 65,535), and, for owner rows, the texts of rows asked for
// on the list's own thread (LB_GETTEXTLEN, LB_GETTEXT: what readers of the
// screen ask), which the list box does not hold. True when answered.
bool AnswerForModel(HWND list, const ListBox& model, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace zefta::win32
