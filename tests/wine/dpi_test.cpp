// Every window at the dpi the tests start at (144 in the run that sets the
// prefix's LogPixels), then on monitors of 200, 125, 175 and 100 % and back:
// each time every control placed from its twips, its font made for the dpi,
// rows as tall as their text and captions that fit; at the end as it was.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "controls/twips.h"
#include "fakes.h"
#include "platform/win32/window/form_window.h"
#include "forms/about_window.h"
#include "forms/conversion_list_window.h"
#include "forms/main_window.h"

namespace zefta {
namespace {

// Pixels at 100 % beside a caption: a check box's box and gap, a frame's
// indent, a button's edges.
constexpr int kRoomBesideCaption = 20;
// At 150 % the main and list windows fit this screen above its taskbar.
constexpr LONG kSmallScreenWidth = 1366, kSmallScreenHeight = 768, kTaskbarHeightAt100 = 40;

std::vector<LONG> Edges(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
std::vector<LONG> Edges(const PixelRect& r) { return {r.left, r.top, r.right, r.bottom}; }

// Checks the window laid out at dpi; tells its rectangle, then its lists' row heights.
std::vector<LONG> ExpectLaidOutAt(const win32::FormWindow& window, const FormLayout& layout, int dpi) {
  RECT rect, client;
  GetWindowRect(window.Handle(), &rect);
  GetClientRect(window.Handle(), &client);
  std::vector<LONG> shown = Edges(rect);
  EXPECT_EQ(Edges(client), Edges(ClientAt(layout, dpi))) << layout.name << " at " << dpi;
  const bool fits = rect.right - rect.left <= kSmallScreenWidth &&
                    rect.bottom - rect.top <= kSmallScreenHeight - ScalePixels(kTaskbarHeightAt100, dpi);
  EXPECT_TRUE(fits || dpi > 144 || layout.name == std::string_view("About")) << layout.name << " at " << dpi;
  for (std::size_t row = 0; row < layout.controls.size(); ++row) {
    const ControlLayout& c = layout.controls[row];
    HWND control = GetDlgItem(c.container ? window.Control(c.container) : window.Handle(), ControlIdOfRow(row));
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(Edges(rect), Edges(PlaceAt(c, dpi))) << c.name << " at " << dpi;
    const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    LOGFONTW asked{};
    GetObjectW(font, sizeof(asked), &asked);
    HDC dc = GetDC(control);
    SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    wchar_t text[64] = {};
    SIZE caption{};
    GetTextExtentPoint32W(dc, text, GetWindowTextW(control, text, 64), &caption);
    ReleaseDC(control, dc);
    EXPECT_EQ(-asked.lfHeight, PointsToPixels(c.fontPoints ? c.fontPoints : layout.fontPoints, dpi)) << c.name << " at " << dpi;
    EXPECT_LE(caption.cx + ScalePixels(kRoomBesideCaption, dpi), PlaceAt(c, dpi).Width()) << c.name << " at " << dpi;
    if (c.kind != ControlKind::ListBox && c.kind != ControlKind::DirList && c.kind != ControlKind::FileList) continue;
    shown.push_back(static_cast<LONG>(SendMessageW(control, LB_GETITEMHEIGHT, 0, 0)));
    EXPECT_GE(shown.back(), metrics.tmHeight) << c.name << "'s rows at " << dpi;
  }
  return shown;
}

TEST(Dpi, EveryWindowIsLaidOutAgainAtEachScaleAndComesBackAsItWas) {
  testing::FakePlatform platform;
  ProgramState state;
  ConversionEngine engine(platform.files, state.processedCount, state.convertedCount);
  MenuItem mark, message;
  MainWindow main(platform.services);
  ConversionListWindow list({platform.services, state, engine, mark, message, [] { return CaseOptions{}; }, {}});
  AboutWindow about;
  const int start = win32::SystemDpi();
  for (Form* form : std::initializer_list<Form*>{&main, &list, &about}) {
    win32::FormWindow window(*form, nullptr, false);
    const FormLayout layout = form->Layout();
    std::vector<LONG> shown = ExpectLaidOutAt(window, layout, start);
    const std::vector<LONG> first = shown;
    // Each monitor to the right of the last, the first one last; the system
    // suggests the size the window asks for, which a frame that does not
    // follow the dpi (Wine's) changes by its own.
    for (int dpi : {192, 120, 168, 96, start}) {
      const POINT at = dpi == start ? POINT{first[0], first[1]} : POINT{shown[2], shown[1]};
      SIZE size{};
      SendMessageW(window.Handle(), win32::kWmGetDpiScaledSize, dpi, reinterpret_cast<LPARAM>(&size));
      RECT suggested{at.x, at.y, at.x + size.cx, at.y + size.cy};
      SendMessageW(window.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
      shown = ExpectLaidOutAt(window, layout, dpi);
      EXPECT_EQ(std::vector(shown.begin(), shown.begin() + 2), std::vector<LONG>({at.x, at.y})) << layout.name;
      EXPECT_TRUE(dpi != start || shown == first) << layout.name << " is as it was";
    }
  }
}

}  // namespace
}  // namespace zefta
