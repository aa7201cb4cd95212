// A list with a check box before every entry (a ListBox model with check
// boxes): the check marks are the model's selection, the highlight only its
// current entry. A click on a box or the Space key flips a mark. With owner
// rows the list holds no text of its own.
#include <windows.h>
#include <windowsx.h>

#include <algorithm>

#include "platform/win32/binders/list_rows.h"

namespace zefta::win32 {

namespace {

class CheckListBinder final : public ControlBinder {
 public:
  CheckListBinder(const ControlLayout& row, int id, HFONT font, ListBox& list)
      : ControlBinder(row, id, font), list_(list), heights_(RowHeightsOf(font, true)), width_(font, TextLeft()) {}

  void PassInputToModel(int code) override {
    if (code == LBN_SELCHANGE) {
      // The highlight moved; the marks stay as they are.
      highlight_.DropPending(Handle());
      list_.AssignCurrentFromView(static_cast<int>(SendMessageW(Handle(), LB_GETCURSEL, 0, 0)));
      if (list_.Click) list_.Click();
    } else if (code == LBN_DBLCLK && list_.DblClick) {
      list_.DblClick();
    }
  }

  bool DrawRow(const DRAWITEMSTRUCT& item) override {
    if (item.itemID == static_cast<UINT>(-1)) return true;
    PaintRowBackground(item);
    const int index = static_cast<int>(item.itemID);
    if (index >= list_.Count()) return true;
    const RECT& rect = item.rcItem;
    const int box = Box(), x = rect.left + 2, top = rect.top + (rect.bottom - rect.top - box) / 2;
    RECT check{x, top, x + box, top + box};
    DrawFrameControl(item.hDC, &check, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (list_.Selected(index) ? DFCS_CHECKED : 0));
    // The whole text: the list scrolls sideways to its widest entry.
    PaintRowText(item, heights_, rect.left + TextLeft(), list_.Item(index), DT_NOCLIP);
    return true;
  }

 private:
  int Box() const { return std::max(8, heights_.row - 4); }
  // Pixels before an entry's text: the box and a gap.
  int TextLeft() const { return 2 + Box() + 4; }

  WindowSpec WindowToCreate() override {
    return ListWindow(WS_HSCROLL | LBS_OWNERDRAWFIXED | (list_.OwnerRows() ? LBS_NODATA : LBS_HASSTRINGS));
  }
  void SetUpWindow() override {
    heights_ = RowHeightsOf(Font(), true);
    width_ = RowWidth(Font(), TextLeft());
    width_.Fit(Handle(), list_);
    SetRowHeight(Handle(), heights_, true);
  }

  void FollowModel(bool follow) override {
    FollowListChanges(list_, follow, [this](ListBox::Change change, int index) { ShowChange(change, index); });
  }

  // Only a mark in view is painted at once; the others are drawn as they
  // scroll in, so loading thousands of checked entries stays quick.
  void ShowChange(ListBox::Change change, int index) {
    if (!Handle()) return;
    switch (change) {
      case ListBox::Change::Reset:
        highlight_.DropPending(Handle());
        ShowAllItems(Handle(), list_, width_);
        if (list_.ListIndex() >= 0) highlight_.Move(Handle(), list_.ListIndex());
        break;
      case ListBox::Change::Added:
        ShowAddedItem(Handle(), list_, index, width_);
        if (list_.Selected(index)) RepaintRowInView(Handle(), index);
        break;
      case ListBox::Change::Selection: RepaintRowInView(Handle(), index); break;
      case ListBox::Change::Current: highlight_.Move(Handle(), list_.ListIndex()); break;
    }
  }

  void FlipMark(int index) {
    if (index < 0 || index >= list_.Count()) return;
    list_.FlipFromView(index);
    if (list_.Click) list_.Click();
  }

  bool Intercept(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_KEYDOWN && wParam == VK_SPACE) {
      FlipMark(static_cast<int>(SendMessageW(Handle(), LB_GETCARETINDEX, 0, 0)));
      result = 0;
      return true;
    }
    if (message == WM_LBUTTONDOWN) {
      const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      const int hit = RowAtPoint(Handle(), point);
      RECT row{};
      SendMessageW(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(hit), reinterpret_cast<LPARAM>(&row));
      result = CallBase(message, wParam, lParam);
      // A click on the check box itself flips the mark.
      if (hit >= 0 && point.x < row.left + heights_.row + 2) FlipMark(hit);
      return true;
    }
    if (AnswerForModel(Handle(), list_, message, wParam, lParam, result)) return true;
    if (message != WM_TIMER || !highlight_.OnTimer(Handle(), wParam)) return false;
    result = 0;
    return true;
  }

  ListBox& list_;
  RowHeights heights_;
  RowWidth width_;
  PacedHighlight highlight_;
};

}  // namespace

std::unique_ptr<ControlBinder> MakeCheckListBinder(const ControlLayout& row, int id, HFONT font, ListBox& model) {
  return std::make_unique<CheckListBinder>(row, id, font, model);
}

}  // namespace zefta::win32
