// The directory list: the current folder with its ancestors and subfolders,
// each row with a folder glyph, indented by its level.
#include "platform/win32/binders/list_rows.h"

namespace zefta::win32 {

namespace {

// Pixels at 100 %: the folder glyph's height, each level's indent and the
// text's distance from the glyph's left edge.
constexpr int kGlyphHeight = 12;
constexpr int kLevelIndent = 12;
constexpr int kTextAfterGlyph = 20;

// The glyph is drawn on the pixels of 100 %, each scaled to dpi.
void DrawFolderGlyph(HDC dc, int x, int y, bool open, int dpi) {
  const auto unit = [dpi](int pixels) { return ScalePixels(pixels, dpi); };
  HPEN pen = CreatePen(PS_SOLID, unit(1), RGB(128, 96, 0));
  HBRUSH brush = CreateSolidBrush(open ? RGB(255, 236, 150) : RGB(240, 200, 80));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  // Tab, then the body; an open folder shows its flap tilted forward.
  Rectangle(dc, x, y, x + unit(6), y + unit(3));
  Rectangle(dc, x, y + unit(2), x + unit(14), y + unit(kGlyphHeight));
  if (open) {
    POINT flap[4] = {{x + unit(2), y + unit(5)}, {x + unit(16), y + unit(5)}, {x + unit(14), y + unit(11)}, {x, y + unit(11)}};
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
      : ControlBinder(row, id, font), folders_(folders) {}

  void PassInputToModel(int code) override {
    if (code == LBN_DBLCLK) OpenHighlightedRow();
  }

  bool DrawRow(const DRAWITEMSTRUCT& item) override {
    if (item.itemID == static_cast<UINT>(-1)) return true;
    PaintRowBackground(item);
    const auto& rows = folders_.Rows();
    if (item.itemID >= rows.size()) return true;
    const DirList::Row& row = rows[item.itemID];
    const int x = item.rcItem.left + Scaled(2 + row.level * kLevelIndent);
    const int top = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - Scaled(kGlyphHeight)) / 2;
    DrawFolderGlyph(item.hDC, x, top, row.open, Dpi());
    PaintRowText(item, heights_, x + Scaled(kTextAfterGlyph), row.text, DT_END_ELLIPSIS);
    return true;
  }

 private:
  WindowSpec WindowToCreate() override { return ListWindow(LBS_OWNERDRAWFIXED | LBS_HASSTRINGS); }
  void SetUpWindow() override {
    heights_ = RowHeightsOf(Font(), true);
    SetRowHeight(Handle(), heights_, true);
  }

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
  RowHeights heights_{};
};

}  // namespace

std::unique_ptr<ControlBinder> MakeDirListBinder(const ControlLayout& row, int id, HFONT font, DirList& model) {
  return std::make_unique<DirListBinder>(row, id, font, model);
}

}  // namespace zefta::win32
