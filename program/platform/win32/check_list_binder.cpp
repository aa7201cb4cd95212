// A list with a check box before every entry; the check marks are the
// model's selection, the highlight only its current entry.
#include <windows.h>
#include <windowsx.h>

#include <algorithm>

#include "platform/win32/list_box_binder.h"

namespace zefta::win32 {

namespace {

class CheckListBinder final : public ListBoxBinder {
 public:
  CheckListBinder(const ControlLayout& layout, int id, HFONT font) : ListBoxBinder(layout, id, font, true) {}

  bool DrawItem(const DRAWITEMSTRUCT& item) override {
    if (item.itemID == static_cast<UINT>(-1)) return true;
    PaintRow(item);
    if (static_cast<int>(item.itemID) >= List()->Count()) return true;
    const RECT& rect = item.rcItem;
    const int box = Box(), x = rect.left + 2;
    RECT check{x, rect.top + (rect.bottom - rect.top - box) / 2, x + box, rect.top + (rect.bottom - rect.top - box) / 2 + box};
    DrawFrameControl(item.hDC, &check, DFC_BUTTON,
                     DFCS_BUTTONCHECK | DFCS_FLAT | (List()->Selected(static_cast<int>(item.itemID)) ? DFCS_CHECKED : 0));
    // The whole text: the list scrolls sideways to its widest entry.
    PaintRowText(item, rect.left + TextLeft(), List()->Item(static_cast<int>(item.itemID)), DT_NOCLIP);
    return true;
  }

 private:
  WindowSpec Spec() override { return ListSpec(WS_HSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS); }
  int Box() const { return std::max(8, RowHeight() - 4); }
  int TextLeft() const override { return 2 + Box() + 4; }

  // Only a mark in view is painted now; the others are drawn as they scroll
  // in, so loading thousands of checked entries stays quick.
  void ShowSelection(int index) override {
    RECT rect, client;
    if (SendMessageW(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)) != LB_ERR &&
        GetClientRect(Handle(), &client) && rect.bottom > client.top && rect.top < client.bottom)
      InvalidateRect(Handle(), &rect, FALSE);
  }
  void ShowCurrent() override { SetHighlight(List()->ListIndex()); }

  void UserSelectionChanged() override {
    const int count = static_cast<int>(SendMessageW(Handle(), LB_GETCOUNT, 0, 0));
    std::vector<char> checks(static_cast<std::size_t>(std::max(count, 0)), 0);
    for (int i : List()->SelectedIndexes())
      if (i < count) checks[static_cast<std::size_t>(i)] = 1;
    int current = static_cast<int>(SendMessageW(Handle(), LB_GETCURSEL, 0, 0));
    if (current >= count) current = -1;
    List()->AssignSelectionFromView(std::move(checks), current < 0 ? -1 : current);
  }

  void ToggleCheck(int index) {
    ListBox* list = List();
    if (index < 0 || index >= list->Count()) return;
    std::vector<char> checks(static_cast<std::size_t>(list->Count()), 0);
    for (int i : list->SelectedIndexes()) checks[static_cast<std::size_t>(i)] = 1;
    checks[static_cast<std::size_t>(index)] = !checks[static_cast<std::size_t>(index)];
    list->AssignSelectionFromView(std::move(checks), index);
    MirrorList(ListBox::Change::Selection, index);
    if (list->Click) list->Click();
  }

  bool OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_KEYDOWN && wParam == VK_SPACE) {
      const int index = static_cast<int>(SendMessageW(Handle(), LB_GETCARETINDEX, 0, 0));
      Guarded([&] { ToggleCheck(index); });
      result = 0;
      return true;
    }
    if (message == WM_LBUTTONDOWN) {
      const LRESULT hit = SendMessageW(Handle(), LB_ITEMFROMPOINT, 0, lParam);
      RECT row{};
      SendMessageW(Handle(), LB_GETITEMRECT, LOWORD(hit), reinterpret_cast<LPARAM>(&row));
      result = CallBase(message, wParam, lParam);
      // A click on the check box itself flips the mark.
      if (HIWORD(hit) == 0 && GET_X_LPARAM(lParam) < row.left + RowHeight() + 2) Guarded([&] { ToggleCheck(LOWORD(hit)); });
      return true;
    }
    return ListBoxBinder::OnControlMessage(message, wParam, lParam, result);
  }
};

}  // namespace

std::unique_ptr<ControlBinder> MakeCheckListBinder(const ControlLayout& layout, int id, HFONT font) {
  return std::make_unique<CheckListBinder>(layout, id, font);
}

}  // namespace zefta::win32
