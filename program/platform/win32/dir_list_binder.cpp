// The directory list: the current folder with its ancestors and subfolders,
// each row with a folder glyph, indented by its level.
#include "platform/win32/list_binder.h"

namespace zefta::win32 {

namespace {

void DrawFolderGlyph(HDC dc, int x, int y, bool open) {
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(128, 96, 0));
  HBRUSH brush = CreateSolidBrush(open ? RGB(255, 236, 150) : RGB(240, 200, 80));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  // Tab, then the body; an open folder shows its flap tilted forward.
  Rectangle(dc, x, y, x + 6, y + 3);
  Rectangle(dc, x, y + 2, x + 14, y + 12);
  if (open) {
    POINT flap[4] = {{x + 2, y + 5}, {x + 16, y + 5}, {x + 14, y + 11}, {x, y + 11}};
    Polygon(dc, flap, 4);
  }
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
}

class DirListBinder final : public ListBinder {
 public:
  DirListBinder(const ControlLayout& layout, int id, HFONT font) : ListBinder(layout, id, font, true) {}

  void OnCommand(int code) override {
    if (code == LBN_DBLCLK) OpenHighlightedRow();
  }

  bool DrawItem(const DRAWITEMSTRUCT& item) override {
    if (item.itemID == static_cast<UINT>(-1)) return true;
    PaintRow(item);
    const auto& rows = Model<DirList>()->Rows();
    if (item.itemID >= rows.size()) return true;
    const DirList::Row& row = rows[item.itemID];
    const int x = item.rcItem.left + 2 + row.level * 12;
    DrawFolderGlyph(item.hDC, x, item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - 12) / 2, row.open);
    PaintRowText(item, x + 20, row.text, DT_END_ELLIPSIS);
    return true;
  }

 private:
  WindowSpec Spec() override { return ListSpec(LBS_OWNERDRAWFIXED | LBS_HASSTRINGS); }

  void MirrorState() override {
    std::vector<std::u16string> texts;
    for (const auto& row : Model<DirList>()->Rows()) texts.push_back(row.text);
    FillList(texts);
    SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(Model<DirList>()->CurrentRow()), 0);
  }

  void OpenHighlightedRow() {
    const int row = static_cast<int>(SendMessageW(Handle(), LB_GETCURSEL, 0, 0));
    if (row >= 0 && Model<DirList>()) Model<DirList>()->OpenRow(row);
  }

  bool OnControlMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
    if (message != WM_KEYDOWN || wParam != VK_RETURN) return false;
    Guarded([&] { OpenHighlightedRow(); });
    result = 0;
    return true;
  }
};

}  // namespace

std::unique_ptr<ControlBinder> MakeDirListBinder(const ControlLayout& layout, int id, HFONT font) {
  return std::make_unique<DirListBinder>(layout, id, font);
}

}  // namespace zefta::win32
