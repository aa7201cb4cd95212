// The stored options applied to the main window's controls at start, and
// their state written back at the end. The controls are the live state.
#include "settings/setting_values.h"
#include "settings/settings.h"
#include "forms/main_window.h"

namespace zefta {

namespace {

constexpr char16_t kDriveFallback[] = u"C:\\";

// Runs step; a drive or folder that is gone falls back to the root of C:
// once. False when the step failed otherwise, which ends the loading.
template <typename Step>
bool WithFallback(std::u16string& folder, Step step) {
  for (bool retried = false;; retried = true) {
    try {
      step(SplitDriveSetting(folder));
      return true;
    } catch (const PlatformError& failure) {
      if (failure.code != error::kPathNotFound || retried) return false;
      folder = kDriveFallback;
    }
  }
}

}  // namespace

void MainWindow::LoadSettings() {
  const StoredSettings stored = ReadSettings(services_.settings);
  std::u16string folder = stored.folder;
  if (!WithFallback(folder, [&](const DriveSetting& drv) { DriveList.SetDrive(drv.drive); })) return;
  if (!WithFallback(folder, [&](const DriveSetting& drv) { DirList.SetPath(drv.directory); })) return;

  // In the order they were read; the first one missing or refused ends it.
  const auto check = [](const std::optional<std::int16_t>& value, MenuItem& item) {
    if (value) item.SetChecked(*value != 0);
    return value.has_value();
  };
  const auto state = [](const std::optional<std::int16_t>& value, CheckBox& box) {
    if (!value) return false;
    try {
      box.SetValue(*value);
      return true;
    } catch (const PlatformError&) {
      return false;
    }
  };
  check(stored.startPosition, SMenuStartPosition) && check(stored.messageOn, SMenuMsgOn) &&
      check(stored.selectMark, SMenuCfgSelectMark) && state(stored.dirCheck, DirCheck) &&
      state(stored.smallCheck, SmallCheck) && state(stored.extCheck, ExtCheck);
}

void MainWindow::SaveSettings() {
  WriteSettings(services_.settings,
                {DirList.Path(), SMenuStartPosition.Checked(), SMenuMsgOn.Checked(), SMenuCfgSelectMark.Checked(),
                 DirCheck.Value(), SmallCheck.Value(), ExtCheck.Value()});
}

}  // namespace zefta
