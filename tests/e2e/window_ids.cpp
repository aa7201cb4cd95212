// The windows are built on fake services only to read their layouts.
#include "window_ids.h"

#include "controls/form.h"
#include "fakes.h"
#include "windows/about_window.h"
#include "windows/conversion_list_window.h"
#include "windows/main_window.h"

namespace e2e {

namespace {

zefta::testing::FakePlatform& Platform() {
  static zefta::testing::FakePlatform platform;
  return platform;
}

const zefta::FormLayout& MainLayout() {
  static zefta::MainWindow window(Platform().services);
  static const zefta::FormLayout layout = window.Layout();
  return layout;
}

const zefta::FormLayout& AboutLayout() {
  static zefta::AboutWindow window;
  static const zefta::FormLayout layout = window.Layout();
  return layout;
}

const zefta::FormLayout& ListWindowLayout() {
  static zefta::ProgramState state;
  static zefta::ConversionEngine engine(Platform().files, state.processedCount, state.convertedCount);
  static zefta::MenuItem selectMark, msgOn;
  static zefta::ConversionListWindow window(
      {Platform().services, state, engine, selectMark, msgOn, [] { return zefta::CaseOptions{}; }, u""});
  static const zefta::FormLayout layout = window.Layout();
  return layout;
}

int FontPoints(const zefta::FormLayout& layout, std::string_view control) {
  for (const auto& c : layout.controls)
    if (c.name == control && c.fontPoints) return c.fontPoints;
  return layout.fontPoints;
}

}  // namespace

int MainControl(std::string_view name) { return zefta::ControlId(MainLayout(), name); }
int MainMenu(std::string_view name) { return zefta::MenuId(MainLayout(), name); }
int AboutControl(std::string_view name) { return zefta::ControlId(AboutLayout(), name); }
int ListWindowControl(std::string_view name) { return zefta::ControlId(ListWindowLayout(), name); }

int MainFontPoints(std::string_view control) { return FontPoints(MainLayout(), control); }
int ListWindowFontPoints(std::string_view control) { return FontPoints(ListWindowLayout(), control); }

}  // namespace e2e
