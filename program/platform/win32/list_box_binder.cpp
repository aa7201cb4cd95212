#include "platform/win32/list_box_binder.h"

#include <algorithm>

#include "platform/win32/text.h"

namespace zefta::win32 {

namespace {

// Timer of a list whose highlight waits to be moved, and how often a run
// walking down a list moves it.
constexpr UINT_PTR kHighlightTimer = 0x5A45;
constexpr DWORD kHighlightInterval = 250;

}  // namespace

std::unique_ptr<ControlBinder> MakeListBoxBinder(const ControlLayout& layout, int id, HFONT font) {
  if (static_cast<ListBox*>(layout.model)->CheckBoxes()) return MakeCheckListBinder(layout, id, font);
  return std::make_unique<ListBoxBinder>(layout, id, font, false);
}

ControlBinder::WindowSpec ListBoxBinder::Spec() {
  // No LBS_SORT: the model keeps its own order.
  return ListSpec(WS_HSCROLL | (List()->SelectionMode() == ListBox::Selection::Extended ? LBS_EXTENDEDSEL : 0));
}

void ListBoxBinder::Attach() {
  if (!List()) return;
  List()->onListChanged = [this](ListBox::Change change, int index) { MirrorList(change, index); };
  MirrorList(ListBox::Change::Reset, -1);
  ListBinder::Attach();
}

void ListBoxBinder::Detach() {
  if (List()) List()->onListChanged = nullptr;
  ListBinder::Detach();
}

bool ListBoxBinder::Multiple() const {
  return List()->SelectionMode() == ListBox::Selection::Extended && !List()->CheckBoxes();
}

void ListBoxBinder::MirrorList(ListBox::Change change, int index) {
  if (!Handle()) return;
  ListBox* list = List();
  switch (change) {
    case ListBox::Change::Reset:
      DropPendingHighlight();
      FillList(list->Items());
      widest_ = meter_.Widest(list->Items());
      FitWidth(widest_);
      for (int i : list->SelectedIndexes()) ShowSelection(i);
      if (list->ListIndex() >= 0) ShowCurrent();
      break;
    case ListBox::Change::Added:
      SendMessageW(Handle(), LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(W(list->Item(index))));
      widest_ = std::max(widest_, meter_.Width(list->Item(index)));
      FitWidth(widest_);
      if (list->Selected(index)) ShowSelection(index);
      break;
    case ListBox::Change::Selection:
      ShowSelection(index);
      break;
    case ListBox::Change::Current:
      ShowCurrent();
      break;
  }
}

// The rows are as wide as the widest entry: the list scrolls sideways to it.
// An extent of 0 would leave the last scroll range in place, so even an
// empty list keeps a small one.
void ListBoxBinder::FitWidth(int textWidth) {
  const int extent = TextLeft() + textWidth + 2;
  if (extent == extent_) return;
  extent_ = extent;
  SendMessageW(Handle(), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent), 0);
}

void ListBoxBinder::ShowSelection(int index) {
  ListBox* list = List();
  if (index < 0 || index >= list->Count()) return;
  if (Multiple()) SendMessageW(Handle(), LB_SETSEL, list->Selected(index), static_cast<LPARAM>(index));
  else if (list->Selected(index)) SetHighlight(index);
  else if (ShownHighlight() == index) SetHighlight(-1);
}

void ListBoxBinder::ShowCurrent() {
  const int current = List()->ListIndex();
  if (Multiple()) {
    if (current >= 0) SendMessageW(Handle(), LB_SETCARETINDEX, static_cast<WPARAM>(current), FALSE);
  } else if (current >= 0 || List()->SelectedIndexes().empty()) {
    SetHighlight(current);
  }
}

// Moving the highlight scrolls the list and repaints it and its scroll bar at
// once, which takes milliseconds (under Wine several). A run that walks down
// thousands of entries would spend more on that than on its renames, so the
// highlight moves at most every kHighlightInterval; a move asked for sooner
// is shown by a timer, which the run's event loop serves.
void ListBoxBinder::SetHighlight(int index) {
  if (highlightPending_) {
    pendingHighlight_ = index;
    return;
  }
  const DWORD now = GetTickCount();
  if (now - lastHighlight_ >= kHighlightInterval) {
    lastHighlight_ = now;
    SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    return;
  }
  highlightPending_ = true;
  pendingHighlight_ = index;
  SetTimer(Handle(), kHighlightTimer, kHighlightInterval, nullptr);
}

int ListBoxBinder::ShownHighlight() const {
  return highlightPending_ ? pendingHighlight_ : static_cast<int>(SendMessageW(Handle(), LB_GETCURSEL, 0, 0));
}

void ListBoxBinder::ShowPendingHighlight() {
  if (!highlightPending_) return;
  DropPendingHighlight();
  lastHighlight_ = GetTickCount();
  SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(pendingHighlight_), 0);
}

void ListBoxBinder::DropPendingHighlight() {
  if (!highlightPending_) return;
  highlightPending_ = false;
  KillTimer(Handle(), kHighlightTimer);
}

bool ListBoxBinder::OnControlMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message != WM_TIMER || wParam != kHighlightTimer) return false;
  ShowPendingHighlight();
  result = 0;
  return true;
}

void ListBoxBinder::OnCommand(int code) {
  if (!List()) return;
  if (code == LBN_SELCHANGE) {
    // The user's choice is newer than any highlight still waiting to be shown.
    DropPendingHighlight();
    UserSelectionChanged();
    if (List()->Click) List()->Click();
  } else if (code == LBN_DBLCLK && List()->DblClick) {
    List()->DblClick();
  }
}

void ListBoxBinder::UserSelectionChanged() {
  HWND hwnd = Handle();
  const int count = static_cast<int>(SendMessageW(hwnd, LB_GETCOUNT, 0, 0));
  std::vector<char> selected(static_cast<std::size_t>(std::max(count, 0)), 0);
  int current = -1;
  if (List()->SelectionMode() == ListBox::Selection::Extended) {
    const int n = static_cast<int>(SendMessageW(hwnd, LB_GETSELCOUNT, 0, 0));
    std::vector<int> indexes(static_cast<std::size_t>(std::max(n, 0)));
    const int got = n > 0 ? static_cast<int>(SendMessageW(hwnd, LB_GETSELITEMS, n, reinterpret_cast<LPARAM>(indexes.data())))
                          : 0;
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
  List()->AssignSelectionFromView(std::move(selected), current < 0 ? -1 : current);
}

}  // namespace zefta::win32
