// A list box of names: single or extended selection (click, Shift-click,
// Ctrl-click). Its rows are as wide as its widest entry, so a long name or
// path scrolls instead of being cut.
#include <algorithm>

#include "platform/win32/list_rows.h"

namespace zefta::win32 {

namespace {

class ListBoxBinder final : public ControlBinder {
 public:
  ListBoxBinder(const ControlLayout& row, int id, HFONT font, ListBox& list)
      : ControlBinder(row, id, font), list_(list), width_(font, 2) {}

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
  WindowSpec WindowToCreate() override { return ListWindow(WS_HSCROLL | (Extended() ? LBS_EXTENDEDSEL : 0)); }
  void SetUpWindow() override {
    SetRowHeight(Handle(), RowHeightsOf(Font(), false), false);
    width_ = RowWidth(Font(), 2);
    width_.Fit(Handle(), list_.Items());
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
    } else if (current >= 0 || list_.SelectedIndexes().empty()) {
      highlight_.Move(Handle(), current);
    }
  }

  bool Intercept(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
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
  RowWidth width_;
  PacedHighlight highlight_;
};

}  // namespace

std::unique_ptr<ControlBinder> MakeListBoxBinder(const ControlLayout& row, int id, HFONT font, ListBox& model) {
  return std::make_unique<ListBoxBinder>(row, id, font, model);
}

}  // namespace zefta::win32
