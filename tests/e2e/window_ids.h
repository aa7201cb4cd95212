// The window ids of the program's controls and menu entries, and the sizes
// of their fonts, read from the layout tables of its three windows.
#pragma once

#include <string_view>

namespace e2e {

int MainControl(std::string_view name);
int MainMenu(std::string_view name);
int AboutControl(std::string_view name);
int ListWindowControl(std::string_view name);
// The size in points of the font a control shows its text in.
int MainFontPoints(std::string_view control);
int ListWindowFontPoints(std::string_view control);

}  // namespace e2e
