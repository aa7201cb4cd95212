// The settings store in the registry under Wine: what the program writes, and what others wrote.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/services/services_win32.h"

namespace zefta {
namespace {

TEST(RegistrySettings, RoundTripEvenForLongValuesAndValuesOthersWroteReadSafely) {
  const std::wstring key = L"Software\\VB and VBA Program Settings\\ZeftaWineTest", section = key + L"\\SYSTEM";
  const std::u16string app = u"ZeftaWineTest", longValue(1000, u'あ');
  RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
  win32::RegistrySettingsStore store;
  EXPECT_EQ(store.Get(app, u"SYSTEM", u"DRV", u"C:\\"), u"C:\\") << "a missing section gives the default";
  store.Set(app, u"SYSTEM", u"DRV", u"c:\\作業\\ﾃﾞｰﾀ");
  store.Set(app, u"SYSTEM", u"LONG", longValue);
  EXPECT_EQ(store.Get(app, u"SYSTEM", u"DRV", u"x"), u"c:\\作業\\ﾃﾞｰﾀ");
  EXPECT_EQ(store.Get(app, u"SYSTEM", u"LONG", u""), longValue);
  // Written by another program: text without its NUL, a number.
  const wchar_t unterminated[] = {L'7', L'7'};
  const DWORD number = 5;
  RegSetKeyValueW(HKEY_CURRENT_USER, section.c_str(), L"NONUL", REG_SZ, unterminated, sizeof(unterminated));
  RegSetKeyValueW(HKEY_CURRENT_USER, section.c_str(), L"DWORD", REG_DWORD, &number, sizeof(number));
  EXPECT_EQ(store.Get(app, u"SYSTEM", u"NONUL", u"d"), u"77");
  EXPECT_EQ(store.Get(app, u"SYSTEM", u"DWORD", u"d"), u"d");
  EXPECT_TRUE(store.DeleteSection(app, u"SYSTEM"));
  EXPECT_EQ(store.Get(app, u"SYSTEM", u"DRV", u"C:\\"), u"C:\\");
  EXPECT_FALSE(store.DeleteSection(app, u"SYSTEM")) << "nothing left to delete";
  RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
}

}  // namespace
}  // namespace zefta
