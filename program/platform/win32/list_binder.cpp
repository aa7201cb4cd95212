#include "platform/win32/list_binder.h"

#include <algorithm>

#include "platform/win32/fonts.h"
#include "platform/win32/text.h"

namespace zefta::win32 {

ListBinder::ListBinder(const ControlLayout& layout, int id, HFONT font, bool ownerDrawn)
    : ControlBinder(layout, id, font), ownerDrawn_(ownerDrawn), lineHeight_(LineHeight(font)) {
  // Owner-drawn rows keep a pixel above and below the text.
  rowHeight_ = ownerDrawn ? std::max(16, lineHeight_ + 2) : lineHeight_;
}

ControlBinder::WindowSpec ListBinder::ListSpec(DWORD style) const {
  return {L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP | style, WS_EX_CLIENTEDGE, u""};
}

void ListBinder::Created() {
  // A plain list box makes its rows as tall as the font's cell; they grow
  // only where a glyph reaches below it.
  if (ownerDrawn_ || SendMessageW(Handle(), LB_GETITEMHEIGHT, 0, 0) < rowHeight_)
    SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, rowHeight_);
}

bool ListBinder::MeasureItem(MEASUREITEMSTRUCT& item) {
  if (!ownerDrawn_) return false;
  item.itemHeight = static_cast<UINT>(rowHeight_);
  return true;
}

void ListBinder::FillList(const std::vector<std::u16string>& items) {
  HWND hwnd = Handle();
  SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
  SendMessageW(hwnd, LB_RESETCONTENT, 0, 0);
  std::size_t bytes = 0;
  for (const auto& item : items) bytes += (item.size() + 1) * sizeof(wchar_t);
  SendMessageW(hwnd, LB_INITSTORAGE, items.size(), static_cast<LPARAM>(bytes));
  for (const auto& item : items) SendMessageW(hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(item)));
  SendMessageW(hwnd, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd, nullptr, TRUE);
}

void ListBinder::PaintRow(const DRAWITEMSTRUCT& item) const {
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
}

void ListBinder::PaintRowText(const DRAWITEMSTRUCT& item, int x, const std::u16string& text, UINT format) const {
  const RECT& rect = item.rcItem;
  RECT textRect{x, rect.top + (rect.bottom - rect.top - lineHeight_) / 2, rect.right, rect.bottom};
  DrawTextW(item.hDC, W(text), -1, &textRect, DT_SINGLELINE | DT_TOP | DT_NOPREFIX | format);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &rect);
}

}  // namespace zefta::win32
