// The directory list: the current folder with its ancestors and subfolders,
// each row with a folder glyph, indented by its level.
#include "platform/win32/list_rows.h"

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

class DirListBinder final : public ControlBinder {
 public:
  DirListBinder(const ControlLayout& row, int id, HFONT font, DirList& folders)
      : ControlBinder(row, id, font), folders_(folders), heights_(RowHeightsOf(font, true)) {}

  void PassInputToModel(int code) override {
    if (code == LBN_DBLCLK) OpenHighlightedRow();
  }

  bool DrawRow(const DRAWITEMSTRUCT& item) override {
    if (item.itemID == static_cast<UINT>(-1)) return true;
    PaintRowBackground(item);
    const auto& rows = folders_.Rows();
    if (item.itemID >= rows.size()) return true;
    const DirList::Row& row = rows[item.itemID];
    const int x = item.rcItem.left + 2 + row.level * 12;
    DrawFolderGlyph(item.hDC, x, item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - 12) / 2, row.open);
    PaintRowText(item, heights_, x + 20, row.text, DT_END_ELLIPSIS);
    return true;
  }

 private:
  WindowSpec WindowToCreate() override { return ListWindow(LBS_OWNERDRAWFIXED | LBS_HASSTRINGS); }
  void SetUpWindow() override { SetRowHeight(Handle(), heights_, true); }

  void ShowModelState() override {
    std::vector<std::u16string> texts;
    for (const auto& row : folders_.Rows()) texts.push_back(row.text);
    FillList(Handle(), texts);
    SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(folders_.CurrentRow()), 0);
  }

  void OpenHighlightedRow() {
    const int row = static_cast<int>(SendMessageW(Handle(), LB_GETCURSEL, 0, 0));
    if (row >= 0) folders_.OpenRow(row);
  }

  bool Intercept(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
    if (message != WM_KEYDOWN || wParam != VK_RETURN) return false;
    OpenHighlightedRow();
    result = 0;
    return true;
  }

  DirList& folders_;
  RowHeights heights_;
};

}  // namespace

std::unique_ptr<ControlBinder> MakeDirListBinder(const ControlLayout& row, int id, HFONT font, DirList& model) {
  return std::make_unique<DirListBinder>(row, id, font, model);
}

}  // namespace zefta::win32
