// A main window on fake services, loaded the way start-up loads it.
#pragma once

#include <string>
#include <vector>

#include "fakes.h"
#include "text_util.h"
#include "forms/main_window.h"

namespace zefta::testing {

using Names = std::vector<std::u16string>;

struct MainWindowFixture {
  FakePlatform platform;
  MainWindow window{platform.services};

  // Start-up claims the journal after the previous-instance check.
  MainWindowFixture() {
    window.SetHandle(42);
    window.Journal().Claim();
  }
  void Store(const std::u16string& key, const std::u16string& value) {
    platform.settings.values[u"ZEFTA\\SYSTEM\\" + key] = value;
  }
  std::u16string Stored(const std::u16string& key) {
    const auto it = platform.settings.values.find(u"ZEFTA\\SYSTEM\\" + key);
    return it == platform.settings.values.end() ? u"<none>" : it->second;
  }
  // Starts in folder with the given DIR and SMALL settings.
  void StartIn(const std::u16string& folder, int dir = 0, int small = 1) {
    Store(u"DRV", folder);
    Store(u"DIR", std::u16string(1, static_cast<char16_t>(u'0' + dir)));
    Store(u"SMALL", std::u16string(1, static_cast<char16_t>(u'0' + small)));
    window.Load();
  }
  void Select(const Names& names) {
    for (int i = 0; i < window.List.Count(); ++i)
      if (std::find(names.begin(), names.end(), window.List.Item(i)) != names.end()) window.List.SetSelected(i, true);
  }
  Names Texts() const {
    Names texts;
    for (const auto& m : platform.messages.shown) texts.push_back(m.text);
    return texts;
  }
};

}  // namespace zefta::testing
