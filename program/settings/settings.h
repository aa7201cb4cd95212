// The seven options of the main window in the per-user settings store:
// application "ZEFTA", section "SYSTEM", one text value per key. Reading
// decodes them into a plain struct, which the main window applies; saving
// writes every key, changed or not.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "services/services.h"

namespace zefta {

inline constexpr char16_t kSettingsApp[] = u"ZEFTA";
inline constexpr char16_t kSettingsSection[] = u"SYSTEM";

struct StoredSettings {
  // "DRV" as the setting field holds it, trailing blanks removed: the drive
  // (first two characters) and the directory (from the third on).
  std::u16string folder;
  // The six options, read in this order. A value that is no 16-bit integer
  // ends the reading: it and every option after it are missing, and the
  // controls keep their initial state for them.
  std::optional<std::int16_t> startPosition;  // "STTPOS", checked when not 0
  std::optional<std::int16_t> messageOn;      // "MSG"
  std::optional<std::int16_t> selectMark;     // "MARK"
  std::optional<std::int16_t> dirCheck;       // "DIR", a check-box state
  std::optional<std::int16_t> smallCheck;     // "SMALL"
  std::optional<std::int16_t> extCheck;       // "EXT"
};

// The stored values, the defaults where a key or the section is missing.
StoredSettings ReadSettings(SettingsStore& store);

struct SettingsToSave {
  std::u16string folder;  // the directory list's path
  bool startPosition, messageOn, selectMark;
  int dirCheck, smallCheck, extCheck;
};

// Writes all seven keys: the menu items as "1" or "0", the check boxes as
// their state in decimal.
void WriteSettings(SettingsStore& store, const SettingsToSave& settings);

}  // namespace zefta
