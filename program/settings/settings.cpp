#include "settings/settings.h"

#include "modules/messages.h"
#include "settings/setting_values.h"

namespace zefta {

StoredSettings ReadSettings(SettingsStore& store) {
  // Every value passes through the fixed-length setting field first.
  auto read = [&](const char16_t* key, const char16_t* defaultValue) {
    return FillSettingBuffer(store.Get(kSettingsApp, kSettingsSection, key, defaultValue));
  };
  StoredSettings stored;
  stored.folder = TrimTrailingBlanks(read(u"DRV", u"C:\\"));
  struct Option {
    const char16_t* key;
    const char16_t* defaultValue;
    std::optional<std::int16_t> StoredSettings::*field;
  };
  static constexpr Option kOptions[] = {
      {u"STTPOS", u"1", &StoredSettings::startPosition}, {u"MSG", u"1", &StoredSettings::messageOn},
      {u"MARK", u"0", &StoredSettings::selectMark},      {u"DIR", u"0", &StoredSettings::dirCheck},
      {u"SMALL", u"0", &StoredSettings::smallCheck},     {u"EXT", u"0", &StoredSettings::extCheck},
  };
  for (const Option& option : kOptions) {
    stored.*option.field = ParseSettingInteger(read(option.key, option.defaultValue));
    if (!(stored.*option.field)) break;
  }
  return stored;
}

void WriteSettings(SettingsStore& store, const SettingsToSave& settings) {
  auto write = [&](const char16_t* key, const std::u16string& value) {
    store.Set(kSettingsApp, kSettingsSection, key, value);
  };
  write(u"DRV", settings.folder);
  write(u"STTPOS", DecimalText(settings.startPosition ? 1 : 0));
  write(u"MSG", DecimalText(settings.messageOn ? 1 : 0));
  write(u"MARK", DecimalText(settings.selectMark ? 1 : 0));
  write(u"DIR", DecimalText(settings.dirCheck));
  write(u"SMALL", DecimalText(settings.smallCheck));
  write(u"EXT", DecimalText(settings.extCheck));
}

}  // namespace zefta
