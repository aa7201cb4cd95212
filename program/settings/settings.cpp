// Loading and saving the seven options of the main window. The controls are
// the live state; these routines only move it to and from the store.
#include <array>
#include <functional>
#include <string>

#include "settings/setting_values.h"
#include "windows/main_window.h"

namespace zefta {

namespace {

constexpr char16_t kApp[] = u"ZEFTA";
constexpr char16_t kSection[] = u"SYSTEM";
constexpr char16_t kDriveFallback[] = u"C:\\";

std::u16string Decimal(int value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

void MainWindow::LoadSettings() {
  SettingsStore& store = services_.settings;
  std::u16string buffer;  // the shared setting field
  auto read = [&](const char16_t* key, const char16_t* defaultValue) {
    buffer = FillSettingBuffer(store.Get(kApp, kSection, key, defaultValue));
  };
  // A value that is no 16-bit integer ends the loading like any other failure.
  auto integer = [&]() -> int {
    const auto value = ParseSettingInteger(buffer);
    if (!value) throw PlatformError{error::kTypeMismatch};
    return *value;
  };

  const std::array<std::function<void()>, 11> steps{
      [&] { read(u"DRV", kDriveFallback); },
      [&] { buffer = TrimTrailingBlanks(buffer); },
      [&] { DriveList.SetDrive(SplitDriveSetting(buffer).drive); },
      [&] { DirList.SetPath(SplitDriveSetting(buffer).directory); },
      [&] { read(u"STTPOS", u"1"); },
      [&] { SMenuStartPosition.SetChecked(integer() != 0); },
      [&] {
        read(u"MSG", u"1");
        SMenuMsgOn.SetChecked(integer() != 0);
      },
      [&] {
        read(u"MARK", u"0");
        SMenuCfgSelectMark.SetChecked(integer() != 0);
      },
      [&] {
        read(u"DIR", u"0");
        DirCheck.SetValue(integer());
      },
      [&] {
        read(u"SMALL", u"0");
        SmallCheck.SetValue(integer());
      },
      [&] {
        read(u"EXT", u"0");
        ExtCheck.SetValue(integer());
      },
  };

  for (std::size_t step = 0; step < steps.size(); ++step) {
    bool retried = false;
    for (;;) {
      try {
        steps[step]();
        break;
      } catch (const PlatformError& failure) {
        // A drive or folder that is gone: fall back to the root of C: once.
        // The trimmed form is used, as the blanks of the field would become
        // part of the directory name.
        if (failure.code != error::kPathNotFound || retried) return;
        retried = true;
        buffer = kDriveFallback;
      }
    }
  }
}

void MainWindow::SaveSettings() {
  SettingsStore& store = services_.settings;
  auto flag = [](const MenuItem& item) { return std::u16string(item.Checked() ? u"1" : u"0"); };
  store.Set(kApp, kSection, u"DRV", DirList.Path());
  store.Set(kApp, kSection, u"STTPOS", flag(SMenuStartPosition));
  store.Set(kApp, kSection, u"MSG", flag(SMenuMsgOn));
  store.Set(kApp, kSection, u"MARK", flag(SMenuCfgSelectMark));
  store.Set(kApp, kSection, u"DIR", Decimal(DirCheck.Value()));
  store.Set(kApp, kSection, u"SMALL", Decimal(SmallCheck.Value()));
  store.Set(kApp, kSection, u"EXT", Decimal(ExtCheck.Value()));
}

}  // namespace zefta
