#include <windows.h>

#include "platform/win32/services/services_win32.h"
#include "platform/win32/support/text.h"

namespace zefta::win32 {

namespace {

struct Key {
  HKEY handle = nullptr;
  ~Key() {
    if (handle) RegCloseKey(handle);
  }
};

}  // namespace

std::u16string SettingsKeyPath(std::u16string_view app, std::u16string_view section) {
  return u"Software\\VB and VBA Program Settings\\" + std::u16string(app) + u"\\" + std::u16string(section);
}

std::u16string RegistrySettingsStore::Get(std::u16string_view app, std::u16string_view section,
                                          std::u16string_view key, std::u16string_view defaultValue) {
  Key opened;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, W(SettingsKeyPath(app, section)), 0, KEY_QUERY_VALUE, &opened.handle) !=
      ERROR_SUCCESS)
    return std::u16string(defaultValue);
  const std::u16string name(key);
  std::u16string value(64, u'\0');
  for (;;) {
    DWORD type = 0;
    DWORD bytes = static_cast<DWORD>(value.size() * sizeof(char16_t));
    const LSTATUS status = RegQueryValueExW(opened.handle, W(name), nullptr, &type,
                                            reinterpret_cast<BYTE*>(value.data()), &bytes);
    if (status == ERROR_MORE_DATA) {
      value.resize(bytes / sizeof(char16_t) + 1);
      continue;
    }
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::u16string(defaultValue);
    // The stored data need not end in a NUL; the value ends at the first one.
    value.resize(bytes / sizeof(char16_t));
    const std::size_t nul = value.find(u'\0');
    if (nul != std::u16string::npos) value.resize(nul);
    return value;
  }
}

void RegistrySettingsStore::Set(std::u16string_view app, std::u16string_view section, std::u16string_view key,
                                std::u16string_view value) {
  Key created;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, W(SettingsKeyPath(app, section)), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &created.handle, nullptr) != ERROR_SUCCESS)
    return;
  const std::u16string name(key);
  const std::u16string data(value);
  RegSetValueExW(created.handle, W(name), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                 static_cast<DWORD>((data.size() + 1) * sizeof(char16_t)));
}

bool RegistrySettingsStore::DeleteSection(std::u16string_view app, std::u16string_view section) {
  return RegDeleteTreeW(HKEY_CURRENT_USER, W(SettingsKeyPath(app, section))) == ERROR_SUCCESS;
}

}  // namespace zefta::win32
