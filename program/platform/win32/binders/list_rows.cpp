#include "platform/win32/binders/list_rows.h"

#include <algorithm>

#include "platform/win32/support/text.h"

namespace zefta::win32 {

namespace {

// Timer of a list whose highlight waits to be moved, and how often a run
// walking down a list moves it.
constexpr UINT_PTR kHighlightTimer = 0x5A45;
constexpr DWORD kHighlightInterval = 250;  // ms, the shortest wait between two moves
constexpr LONGLONG kHighlightCostShare = 50;  // the wait, at least, in times the last move took
constexpr LONGLONG kHighlightLongest = 2000;  // ms, however slow a move

}  // namespace

WindowSpec ListWindow(DWORD style) {
  return {L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP | style, WS_EX_CLIENTEDGE, u""};
}

RowHeights RowHeightsOf(HFONT font, bool ownerDrawn) {
  const int line = LineHeight(font);
  return {line, ownerDrawn ? std::max(16, line + 2) : line};
}

void SetRowHeight(HWND list, const RowHeights& heights, bool ownerDrawn) {
  if (ownerDrawn || SendMessageW(list, LB_GETITEMHEIGHT, 0, 0) < heights.row)
    SendMessageW(list, LB_SETITEMHEIGHT, 0, heights.row);
}

void FillList(HWND list, const std::vector<std::u16string>& items) {
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  std::size_t bytes = 0;
  for (const auto& item : items) bytes += (item.size() + 1) * sizeof(wchar_t);
  SendMessageW(list, LB_INITSTORAGE, items.size(), static_cast<LPARAM>(bytes));
  for (const auto& item : items) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(item)));
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

void PaintRowBackground(const DRAWITEMSTRUCT& item) {
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
}

void PaintRowText(const DRAWITEMSTRUCT& item, const RowHeights& heights, int x, const std::u16string& text,
                  UINT format) {
  const RECT& rect = item.rcItem;
  RECT textRect{x, rect.top + (rect.bottom - rect.top - heights.line) / 2, rect.right, rect.bottom};
  DrawTextW(item.hDC, W(text), -1, &textRect, DT_SINGLELINE | DT_TOP | DT_NOPREFIX | format);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &rect);
}

void PacedHighlight::MoveNow(HWND list, int index) {
  LARGE_INTEGER start, end, frequency;
  QueryPerformanceCounter(&start);
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  QueryPerformanceCounter(&end);
  QueryPerformanceFrequency(&frequency);
  const LONGLONG took = (end.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart;
  interval_ = static_cast<DWORD>(std::clamp<LONGLONG>(took * kHighlightCostShare, kHighlightInterval, kHighlightLongest));
  lastMove_ = GetTickCount();
}

void PacedHighlight::Move(HWND list, int index) {
  if (pending_) {
    pendingIndex_ = index;
    return;
  }
  const DWORD waited = GetTickCount() - lastMove_;
  if (waited >= interval_) {
    MoveNow(list, index);
    return;
  }
  pending_ = true;
  pendingIndex_ = index;
  SetTimer(list, kHighlightTimer, interval_ - waited, nullptr);
}

int PacedHighlight::Shown(HWND list) const {
  return pending_ ? pendingIndex_ : static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
}

void PacedHighlight::DropPending(HWND list) {
  if (!pending_) return;
  pending_ = false;
  KillTimer(list, kHighlightTimer);
}

bool PacedHighlight::OnTimer(HWND list, WPARAM timer) {
  if (timer != kHighlightTimer) return false;
  if (pending_) {
    DropPending(list);
    MoveNow(list, pendingIndex_);
  }
  return true;
}

void RowWidth::Fit(HWND list, const std::vector<std::u16string>& items) {
  widest_ = meter_.Widest(items);
  SetExtent(list);
}

void RowWidth::Fit(HWND list, const ListBox& rows) {
  widest_ = 0;
  for (int i = 0; i < rows.Count(); ++i) widest_ = std::max(widest_, meter_.Width(rows.Item(i)));
  SetExtent(list);
}

void RowWidth::Widen(HWND list, const std::u16string& item) {
  widest_ = std::max(widest_, meter_.Width(item));
  SetExtent(list);
}

// An extent of 0 would leave the last scroll range in place, so even an
// empty list keeps a small one.
void RowWidth::SetExtent(HWND list) {
  const int extent = textLeft_ + widest_ + 2;
  if (extent == extent_) return;
  extent_ = extent;
  SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent), 0);
}

void FollowListChanges(ListBox& model, bool follow, std::function<void(ListBox::Change, int)> show) {
  model.onListChanged = nullptr;
  if (!follow) return;
  model.onListChanged = show;
  show(ListBox::Change::Reset, -1);
}

void ShowAllItems(HWND list, const ListBox& model, RowWidth& width) {
  if (model.OwnerRows()) {
    SendMessageW(list, LB_SETCOUNT, static_cast<WPARAM>(model.Count()), 0);
    width.Fit(list, model);
    InvalidateRect(list, nullptr, TRUE);
    return;
  }
  FillList(list, model.Items());
  width.Fit(list, model.Items());
}

void ShowAddedItem(HWND list, const ListBox& model, int index, RowWidth& width) {
  const std::u16string item = model.Item(index);
  SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(W(item)));
  width.Widen(list, item);
}

void RepaintRowInView(HWND list, int row) {
  RECT rect, client;
  if (SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect)) != LB_ERR &&
      GetClientRect(list, &client) && rect.bottom > client.top && rect.top < client.bottom)
    InvalidateRect(list, &rect, FALSE);
}

int RowAtPoint(HWND list, POINT point) {
  RECT client;
  const LRESULT height = SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
  if (!GetClientRect(list, &client) || !PtInRect(&client, point) || height <= 0) return -1;
  const LRESULT top = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  const LRESULT row = top + point.y / height;
  return top >= 0 && row < count ? static_cast<int>(row) : -1;
}

bool AnswerForModel(HWND list, const ListBox& model, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  // Only from this thread: another's buffer is marshalled at the size of a
  // row's data, which a text would overrun.
  const bool textAsked = (message == LB_GETTEXTLEN || message == LB_GETTEXT) && !InSendMessage();
  if (textAsked && model.OwnerRows()) {
    const int row = static_cast<int>(wParam);
    if (row < 0 || row >= model.Count()) {
      result = LB_ERR;
      return true;
    }
    const std::u16string text = model.Item(row);
    if (message == LB_GETTEXT && lParam)
      std::copy(text.c_str(), text.c_str() + text.size() + 1, reinterpret_cast<char16_t*>(lParam));
    result = static_cast<LRESULT>(text.size());
    return true;
  }
  if (message != WM_VSCROLL || (LOWORD(wParam) != SB_THUMBTRACK && LOWORD(wParam) != SB_THUMBPOSITION)) return false;
  SCROLLINFO info{sizeof(info), SIF_TRACKPOS, 0, 0, 0, 0, 0};
  if (!GetScrollInfo(list, SB_VERT, &info)) return false;
  SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(info.nTrackPos), 0);
  result = 0;
  return true;
}

}  // namespace zefta::win32
