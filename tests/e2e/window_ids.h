// The window ids of the program's controls and menu entries, read from the
// layout tables of its three windows.
#pragma once

#include <string_view>

namespace e2e {

int MainControl(std::string_view name);
int MainMenu(std::string_view name);
int AboutControl(std::string_view name);
int ListWindowControl(std::string_view name);

}  // namespace e2e
