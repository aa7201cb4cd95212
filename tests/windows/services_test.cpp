// The real services under Wine, code page 932: renaming on disk, settings in
// the registry, and the library bound by name.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "modules/entry_renamer.h"
#include "modules/name_rule.h"
#include "platform/win32/services_win32.h"
#include "platform/win32/text.h"

namespace zefta {
namespace {

using win32::U;
using win32::W;
using Outcome = RenameResult::Outcome;

// A fresh folder under the temporary directory, removed with its contents.
class OnDisk : public ::testing::Test {
 protected:
  OnDisk() { CreateDirectoryW(W(folder), nullptr); }
  ~OnDisk() override { std::filesystem::remove_all(W(folder)); }
  void MakeFile(const std::u16string& name) {
    CloseHandle(CreateFileW(W(folder + name), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  }
  // Every name the file system has in the folder, sorted.
  std::vector<std::u16string> Names(const std::u16string& path) {
    auto names = files.Names(path).value_or(std::vector<std::u16string>{u"<failed>"});
    std::sort(names.begin(), names.end());
    return names;
  }
  Outcome Rename(const std::u16string& path, const std::u16string& name, CaseOptions options) {
    return renamer.Rename(path, name, ConvertName(name, options)).outcome;
  }
  win32::Win32FileSystem files;
  EntryRenamer renamer{files};
  const std::u16string folder = U(_wgetenv(L"TEMP")) + u"\\zefta_test\\";
};

TEST_F(OnDisk, CaseOnlyRenamesOfFilesAndFoldersUnderTheSystemsCaseTables) {
  ASSERT_EQ(GetACP(), 932u) << "run with LANG=ja_JP.UTF-8";
  MakeFile(u"README.TXT");
  MakeFile(u"データＡＢ.TXT");
  CreateDirectoryW(W(folder + u"SubDir"), nullptr);
  EXPECT_EQ(Rename(folder, u"README.TXT", {true, false}), Outcome::Renamed);
  EXPECT_EQ(Rename(folder, u"データＡＢ.TXT", {true, false}), Outcome::Renamed);
  EXPECT_EQ(Rename(folder, u"SubDir", {false, false}), Outcome::Renamed);
  EXPECT_EQ(Rename(folder, u"MISSING.TXT", {true, false}), Outcome::Refused);
  EXPECT_EQ(Names(folder), (std::vector<std::u16string>{u"SUBDIR", u"readme.txt", u"データａｂ.txt"}));
}

// Two names that differ only in case in one Linux folder (run_wine_test.sh
// makes them): converting either must not replace the other.
TEST_F(OnDisk, NamesDifferingOnlyInCaseAreRefusedAndBothKeepTheirContent) {
  const char* pair = std::getenv("ZEFTA_CASE_PAIR_DIR");
  ASSERT_TRUE(pair) << "run through run_wine_test.sh";
  const std::u16string path = win32::FromAnsi(pair) + u"\\";
  EXPECT_EQ(Rename(path, u"README", {true, false}), Outcome::Refused);
  EXPECT_EQ(Rename(path, u"readme", {false, false}), Outcome::Refused);
  EXPECT_EQ(Names(path), (std::vector<std::u16string>{u"README", u"readme"})) << "nothing left under a parked name";
  for (const char* name : {"README", "readme"}) {
    std::string content;
    std::getline(std::ifstream(std::string(pair) + "\\" + name), content);
    EXPECT_EQ(content, std::string("content of ") + name);
  }
}

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

TEST(TreeLister, AMissingLibraryGivesNoCountRatherThanACrash) {
  win32::KestrumTreeLister lister("ZEFTA_NO_SUCH_LIBRARY.DLL");
  EXPECT_FALSE(lister.MakeDirFileList(2, "C:\\", "C:\\list.tmp").has_value());
  EXPECT_FALSE(lister.MakeDirFileList(2, "C:\\", "C:\\list.tmp").has_value()) << "nor at the second call";
}

}  // namespace
}  // namespace zefta
