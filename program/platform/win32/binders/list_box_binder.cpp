// A list box of names: single or extended selection (click, Shift-click,
// Ctrl-click). Its rows are as wide as its widest entry, so a long name or
// path scrolls instead of being cut. A list of owner rows holds no text of
// its own: each row is drawn from the model as it comes into view.
#include <algorithm>

#include "platform/win32/binders/list_rows.h"

namespace zefta::win32 {

namespace {

class ListBoxBinder final : public ControlBinder {
 public:
  ListBoxBinder(const ControlLayout& row, int id, HFONT font, ListBox& list)
      : ControlBinder(row, id, font), list_(list), heights_(RowHeightsOf(font, list.OwnerRows())), width_(font, 2) {}

  void PassInputToModel(int code) override {
    if (code == LBN_SELCHANGE) {
      highlight_.DropPending(Handle());
      TakeSelectionFromView();
      if (list_.Click) list_.Click();
    } else if (code == LBN_DBLCLK && list_.DblClick) {
      list_.DblClick();
    }
  }

 private:
  bool Extended() const { return list_.SelectionMode() == ListBox::Selection::Extended; }

  // No LBS_SORT: the model keeps its own order.
  WindowSpec WindowToCreate() override {
    const DWORD rows = list_.OwnerRows() ? LBS_OWNERDRAWFIXED | LBS_NODATA : 0;
    return ListWindow(WS_HSCROLL | rows | (Extended() ? LBS_EXTENDEDSEL : 0));
  }
  void SetUpWindow() override {
    heights_ = RowHeightsOf(Font(), list_.OwnerRows());
    SetRowHeight(Handle(), heights_, list_.OwnerRows());
    width_ = RowWidth(Font(), 2);
    width_.Fit(Handle(), list_);
  }

  bool DrawRow(const DRAWITEMSTRUCT& item) override {
    const int index = static_cast<int>(item.itemID);
    if (item.itemID == static_cast<UINT>(-1) || index >= list_.Count()) return true;
    PaintRowBackground(item);
    PaintRowText(item, heights_, item.rcItem.left + 2, list_.Item(index), DT_NOCLIP);
    return true;
  }

  void FollowModel(bool follow) override {
    FollowListChanges(list_, follow, [this](ListBox::Change change, int index) { ShowChange(change, index); });
  }

  void ShowChange(ListBox::Change change, int index) {
    if (!Handle()) return;
    switch (change) {
      case ListBox::Change::Reset:
        highlight_.DropPending(Handle());
        ShowAllItems(Handle(), list_, width_);
        for (int i : list_.SelectedIndexes()) ShowSelection(i);
        if (list_.ListIndex() >= 0) ShowCurrent();
        break;
      case ListBox::Change::Added:
        ShowAddedItem(Handle(), list_, index, width_);
        if (list_.Selected(index)) ShowSelection(index);
        break;
      case ListBox::Change::Selection: ShowSelection(index); break;
      case ListBox::Change::Current: ShowCurrent(); break;
    }
  }

  void ShowSelection(int index) {
    if (index < 0 || index >= list_.Count()) return;
    if (Extended()) SendMessageW(Handle(), LB_SETSEL, list_.Selected(index), static_cast<LPARAM>(index));
    else if (list_.Selected(index)) highlight_.Move(Handle(), index);
    else if (highlight_.Shown(Handle()) == index) highlight_.Move(Handle(), -1);
  }

  void ShowCurrent() {
    const int current = list_.ListIndex();
    if (Extended()) {
      if (current >= 0) SendMessageW(Handle(), LB_SETCARETINDEX, static_cast<WPARAM>(current), FALSE);
    } else if (current >= 0 || !list_.AnySelected()) {
      highlight_.Move(Handle(), current);
    }
  }

  bool Intercept(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (AnswerForModel(Handle(), list_, message, wParam, lParam, result)) return true;
    if (message != WM_TIMER || !highlight_.OnTimer(Handle(), wParam)) return false;
    result = 0;
    return true;
  }

  void TakeSelectionFromView() {
    HWND hwnd = Handle();
    const int count = static_cast<int>(SendMessageW(hwnd, LB_GETCOUNT, 0, 0));
    std::vector<char> selected(static_cast<std::size_t>(std::max(count, 0)), 0);
    int current = -1;
    if (Extended()) {
      const int n = static_cast<int>(SendMessageW(hwnd, LB_GETSELCOUNT, 0, 0));
      std::vector<int> indexes(static_cast<std::size_t>(std::max(n, 0)));
      const int got =
          n > 0 ? static_cast<int>(SendMessageW(hwnd, LB_GETSELITEMS, n, reinterpret_cast<LPARAM>(indexes.data()))) : 0;
      for (int k = 0; k < got; ++k) {
        const int i = indexes[static_cast<std::size_t>(k)];
        if (i >= 0 && i < count) selected[static_cast<std::size_t>(i)] = 1;
      }
      current = static_cast<int>(SendMessageW(hwnd, LB_GETCARETINDEX, 0, 0));
    } else {
      current = static_cast<int>(SendMessageW(hwnd, LB_GETCURSEL, 0, 0));
      if (current >= 0 && current < count) selected[static_cast<std::size_t>(current)] = 1;
    }
    if (current >= count) current = -1;
    list_.AssignSelectionFromView(std::move(selected), current < 0 ? -1 : current);
  }

  ListBox& list_;
  RowHeights heights_;
  RowWidth width_;
  PacedHighlight highlight_;
};

}  // namespace

std::unique_ptr<ControlBinder> MakeListBoxBinder(const ControlLayout& row, int id, HFONT font, ListBox& model) {
  return std::make_unique<ListBoxBinder>(row, id, font, model);
}

}  // namespace zefta::win32
