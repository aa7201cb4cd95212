// Drives ZEFTA.EXE to show names with underscores and descenders in its lists
// and checks on the screen that each row shows its text whole. The driver
// draws the row's text again with the same font in its own process; every
// pixel of that drawing must be on the screen inside the row, and the columns
// that only an underscore covers must hold ink (a face whose underscore draws
// no pixel passes the first test but not the second).
//
// zefta_e2e_glyphs <ZEFTA.EXE> <prepared folder> <screenshot prefix>
// The folder holds names\ with a b.h, a_b.h, gjpqy.txt, nfnetlink_acct.h and xt_tcpmss.h.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "controls/form.h"
#include "e2e_support.h"
#include "picker.h"
#include "window_ids.h"

namespace {

using namespace e2e;

// A 32-bit top-down picture and whether each pixel is ink (not the background).
struct Picture {
  int width = 0, height = 0;
  std::vector<DWORD> pixels;
  bool Ink(int x, int y, DWORD background) const {
    const DWORD p = pixels[static_cast<std::size_t>(y) * width + x];
    const int distance = std::abs(static_cast<int>(p & 0xFF) - static_cast<int>(background & 0xFF)) +
                         std::abs(static_cast<int>((p >> 8) & 0xFF) - static_cast<int>((background >> 8) & 0xFF)) +
                         std::abs(static_cast<int>((p >> 16) & 0xFF) - static_cast<int>((background >> 16) & 0xFF));
    return distance > 128;
  }
};

// Copies a rectangle of the screen, or of `source` when given.
Picture Capture(int left, int top, int width, int height, HDC source) {
  Picture picture;
  picture.width = width;
  picture.height = height;
  picture.pixels.resize(static_cast<std::size_t>(width) * height);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, source ? source : screen, left, top, SRCCOPY);
  GdiFlush();
  std::copy_n(static_cast<const DWORD*>(bits), picture.pixels.size(), picture.pixels.begin());
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return picture;
}

// The client area of a window as the screen shows it.
Picture CaptureClient(HWND hwnd) {
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
  RECT client;
  GetClientRect(hwnd, &client);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  return Capture(origin.x, origin.y, client.right, client.bottom, nullptr);
}

// The text drawn in black on white, with a margin of kMargin on every side,
// and the columns of each underscore's cell (from the advances, not the ink).
constexpr int kMargin = 4;
struct Drawing {
  Picture picture;
  std::vector<std::pair<int, int>> underscores;
};

Drawing DrawAgain(const std::wstring& text, int points) {
  HDC screen = GetDC(nullptr);
  HFONT font = CreateFontW(-MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                           FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           FIXED_PITCH | FF_MODERN, reinterpret_cast<const wchar_t*>(zefta::kFontFace));
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ oldFont = SelectObject(dc, font);
  SIZE extent{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  Drawing drawing;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'_') continue;
    SIZE before{}, after{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(i), &before);
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(i + 1), &after);
    drawing.underscores.emplace_back(kMargin + before.cx, kMargin + after.cx);
  }
  const int width = extent.cx + 2 * kMargin, height = extent.cy + 2 * kMargin;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  RECT all{0, 0, width, height};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  TextOutW(dc, kMargin, kMargin, text.c_str(), static_cast<int>(text.size()));
  drawing.picture = Capture(0, 0, width, height, dc);
  SelectObject(dc, oldBitmap);
  SelectObject(dc, oldFont);
  DeleteObject(bitmap);
  DeleteObject(font);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return drawing;
}

// A system colour as a pixel of a 32-bit DIB (0x00RRGGBB).
DWORD Pixel(int systemColour) {
  const COLORREF c = GetSysColor(systemColour);
  return (static_cast<DWORD>(GetRValue(c)) << 16) | (static_cast<DWORD>(GetGValue(c)) << 8) | GetBValue(c);
}

// Checks one row of a list: where the drawing matches the screen best, every
// ink pixel of the drawing within the list's width must be ink on the screen
// inside the row, and every underscore cell in view must hold ink.
void CheckRow(const Picture& shot, RECT row, const std::wstring& text, int points, const char* list) {
  row.left = std::max<LONG>(row.left, 0);
  row.right = std::min<LONG>(row.right, shot.width);
  row.top = std::max<LONG>(row.top, 0);
  row.bottom = std::min<LONG>(row.bottom, shot.height);
  const Drawing drawing = DrawAgain(text, points);
  const Picture& ref = drawing.picture;
  const DWORD background = Pixel(COLOR_WINDOW);  // the rows checked are not highlighted
  const DWORD white = 0xFFFFFF;
  std::vector<POINT> ink;
  for (int y = 0; y < ref.height; ++y)
    for (int x = 0; x < ref.width; ++x)
      if (ref.Ink(x, y, white)) ink.push_back({x, y});
  const auto onScreen = [&](int x, int y) {
    return x >= row.left && x < row.right && y >= row.top && y < row.bottom && shot.Ink(x, y, background);
  };
  int bestScore = -1, bestX = 0;
  for (int dy = row.top - 2 * kMargin; dy <= row.bottom - kMargin; ++dy)
    for (int dx = row.left - ref.width; dx < row.right; ++dx) {
      int score = 0;
      for (const POINT& p : ink) score += onScreen(p.x + dx, p.y + dy);
      if (score > bestScore) bestScore = score, bestX = dx;
    }
  int inView = 0;
  for (const POINT& p : ink) inView += p.x + bestX >= 0 && p.x + bestX < shot.width;
  const std::string what = std::string("every pixel of the row's text shows in ") + list;
  Check(inView > 0 && bestScore == inView, what.c_str(),
        text + L": " + std::to_wstring(inView - bestScore) + L" of " + std::to_wstring(inView) + L" missing");
  for (const auto& [left, right] : drawing.underscores) {
    if (left + bestX < row.left || right + bestX > row.right) continue;  // scrolled out of view
    int empty = 0;
    for (int x = left + bestX + 1; x < right + bestX - 1; ++x) {
      bool any = false;
      for (int y = row.top; y < row.bottom && !any; ++y) any = shot.Ink(x, y, background);
      empty += !any;
    }
    const std::string underscore = std::string("the underscore shows in ") + list;
    Check(empty == 0, underscore.c_str(), text + L": " + std::to_wstring(empty) + L" columns without ink");
  }
}

// Every row in view that is neither selected nor the caret (those carry a
// highlight or a focus frame); returns how many rows with an underscore it checked.
int CheckRows(HWND list, int points, const char* name) {
  const Picture shot = CaptureClient(list);
  const std::vector<std::wstring> texts = ListTexts(list);
  const LRESULT caret = SendMessageW(list, LB_GETCARETINDEX, 0, 0);
  const LRESULT current = SendMessageW(list, LB_GETCURSEL, 0, 0);
  int underscored = 0;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const auto index = static_cast<LRESULT>(i);
    if (index == caret || index == current || SendMessageW(list, LB_GETSEL, i, 0) > 0) continue;
    RECT row{};
    if (SendMessageW(list, LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&row)) == LB_ERR) continue;
    if (row.top < 0 || row.bottom > shot.height) continue;
    CheckRow(shot, row, texts[i], points, name);
    underscored += texts[i].find(L'_') != std::wstring::npos;
  }
  return underscored;
}

// The list of the conversion list window in use, checked at both ends of its
// rows, then Cancel.
void CheckListWindow(const Process& program, const std::wstring& names, const char* control, const std::wstring& shot) {
  PostMessageW(FindTopLevel(program.Id(), nullptr, L"SORVEL"), WM_COMMAND, MAKEWPARAM(MainMenu("SMenuAllChange"), 0), 0);
  if (!PickFolder(program, names, L"")) return;
  HWND window = WaitForListWindow(program.Id());
  if (!window) return DescribeWindows(program.Id());
  HWND list = GetDlgItem(window, ListWindowControl(control));
  Check(WaitFor([&] { return IsWindowVisible(list) && SendMessageW(list, LB_GETCOUNT, 0, 0) == 5; }, 10000),
        "the list window lists the five names");
  Sleep(300);
  Check(SaveScreenshot(window, shot + L"-list-window.bmp"), "screenshot of the list window");
  const std::string what = std::string("rows with an underscore checked in ") + control;
  Check(CheckRows(list, ListWindowFontPoints(control), control) >= 2, what.c_str());
  // Scrolled to the right end, the ends of the long paths show whole.
  const Picture unscrolled = CaptureClient(list);
  SendMessageW(list, WM_HSCROLL, SB_RIGHT, 0);
  Check(CaptureClient(list).pixels != unscrolled.pixels, "the list scrolls sideways");
  Sleep(300);
  Check(SaveScreenshot(window, shot + L"-list-window-scrolled.bmp"), "screenshot of the list window scrolled");
  Check(CheckRows(list, ListWindowFontPoints(control), control) >= 2, what.c_str());
  PostMessageW(GetDlgItem(window, ListWindowControl("Cancel")), BM_CLICK, 0, 0);
  Check(WaitFor([&] { return !IsWindow(window); }, 10000), "Cancel closes the list window");
}

void Run(const std::wstring& exe, const std::wstring& folder, const std::wstring& shots) {
  const std::wstring names = folder + L"\\names";
  StoreSettings({{L"DRV", names}, {L"MARK", L"0"}, {L"DIR", L"0"}, {L"MSG", L"1"}});
  Process program;
  if (!Start(program, exe, L"", {L"TEMP=" + folder})) return Check(false, "ZEFTA.EXE starts", exe);
  HWND main = WaitForMainWindow(program);
  if (!main) return;
  HWND list = GetDlgItem(main, MainControl("List"));
  Check(WaitFor([&] { return SendMessageW(list, LB_GETCOUNT, 0, 0) == 5; }, 20000), "List shows the five names",
        Join(ListTexts(list)));
  Sleep(300);
  Check(SaveScreenshot(main, shots + L"-glyphs-main-window.bmp"), "screenshot of the main window");
  Check(CheckRows(list, MainFontPoints("List"), "List") >= 2, "rows with an underscore checked in List");

  CheckListWindow(program, names, "ChangeFileList0", shots + L"-glyphs");
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(MainMenu("SMenuCfgSelectMark"), 0), 0);
  CheckListWindow(program, names, "ChangeFileList1", shots + L"-glyphs-check");

  PostMessageW(main, WM_CLOSE, 0, 0);
  Check(program.Ended(20000), "the program ends at the close box");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::printf("usage: zefta_e2e_glyphs <ZEFTA.EXE> <folder> <screenshot prefix>\n");
    return 2;
  }
  Run(argv[1], argv[2], argv[3]);
  return Verdict();
}
