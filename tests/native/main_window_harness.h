// A main window on fake services, loaded the way start-up loads it.
#pragma once

#include <string>
#include <vector>

#include "fakes.h"
#include "windows/main_window.h"

namespace zefta::testing {

class MainWindowHarness {
 public:
  FakePlatform platform;
  MainWindow window{platform.services};

  MainWindowHarness() { window.SetHandle(42); }

  void Store(const std::u16string& key, const std::u16string& value) {
    platform.settings.values[u"ZEFTA\\SYSTEM\\" + key] = value;
  }
  std::u16string Stored(const std::u16string& key) {
    auto it = platform.settings.values.find(u"ZEFTA\\SYSTEM\\" + key);
    return it == platform.settings.values.end() ? u"<none>" : it->second;
  }
  // Starts in folder (a full path) with the given DIR and SMALL settings.
  void StartIn(const std::u16string& folder, int dir = 0, int small = 1) {
    Store(u"DRV", folder);
    Store(u"DIR", std::u16string(1, static_cast<char16_t>(u'0' + dir)));
    Store(u"SMALL", std::u16string(1, static_cast<char16_t>(u'0' + small)));
    window.Load();
  }
  std::vector<std::u16string> Listed() const { return window.List.Items(); }
  void Select(const std::vector<std::u16string>& names) {
    for (const auto& name : names)
      for (int i = 0; i < window.List.Count(); ++i)
        if (window.List.Item(i) == name) window.List.SetSelected(i, true);
  }
};

}  // namespace zefta::testing
