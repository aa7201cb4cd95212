// What the list kinds share: a list box filled at once, rows tall enough for
// every glyph of the font, and the painting of owner-drawn rows.
#pragma once

#include <string>
#include <vector>

#include "platform/win32/control_binder.h"

namespace zefta::win32 {

class ListBinder : public ControlBinder {
 public:
  ListBinder(const ControlLayout& layout, int id, HFONT font, bool ownerDrawn);
  bool CanHoldFocus() const override { return true; }
  bool MeasureItem(MEASUREITEMSTRUCT& item) override;

 protected:
  // A list box with a client edge, vertical scrolling and the given styles.
  WindowSpec ListSpec(DWORD style) const;
  void Created() override;
  void FillList(const std::vector<std::u16string>& items);
  int RowHeight() const { return rowHeight_; }
  // Owner-drawn rows: the background in the row's colours, then the text
  // from x on, as high in the row as the other lists show it.
  void PaintRow(const DRAWITEMSTRUCT& item) const;
  void PaintRowText(const DRAWITEMSTRUCT& item, int x, const std::u16string& text, UINT format) const;

 private:
  bool ownerDrawn_;
  int lineHeight_;
  int rowHeight_;
};

}  // namespace zefta::win32
