// The real file system and case mapping under Wine, code page 932.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>

#include "modules/entry_renamer.h"
#include "modules/name_rule.h"
#include "platform/win32/services_win32.h"
#include "platform/win32/text.h"

namespace zefta {
namespace {

using win32::U;
using win32::W;

// A fresh folder under the temporary directory, removed again at the end.
class TempFolder {
 public:
  TempFolder() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    path_ = U(base) + u"zefta_test_" + Number(GetCurrentProcessId()) + u"_" + Number(counter_++) + u"\\";
    CreateDirectoryW(W(path_), nullptr);
  }
  ~TempFolder() { RemoveTree(path_); }
  const std::u16string& path() const { return path_; }

  void File(const std::u16string& name, const std::string& content = "x") {
    HANDLE h = CreateFileW(W(path_ + name), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(h);
  }
  // Names as the folder lists them, sorted.
  std::vector<std::u16string> Names() {
    auto names = files.Enumerate(path_, kAttrDirectory).value_or(std::vector<std::u16string>{});
    std::erase_if(names, [](const std::u16string& n) { return n == u"." || n == u".."; });
    std::sort(names.begin(), names.end());
    return names;
  }
  win32::Win32FileSystem files;

 private:
  static std::u16string Number(unsigned long n) {
    const std::string s = std::to_string(n);
    return std::u16string(s.begin(), s.end());
  }
  static void RemoveTree(const std::u16string& dir) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(W(dir + u"*"), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::u16string name = U(data.cFileName);
        if (name == u"." || name == u"..") continue;
        const std::u16string full = dir + name;
        SetFileAttributesW(W(full), FILE_ATTRIBUTE_NORMAL);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full + u"\\");
        else DeleteFileW(W(full));
      } while (FindNextFileW(find, &data));
      FindClose(find);
    }
    RemoveDirectoryW(W(dir));
  }
  std::u16string path_;
  static inline int counter_ = 0;
};

using Outcome = RenameResult::Outcome;

class RenameOnDisk : public ::testing::Test {
 protected:
  Outcome Rename(const std::u16string& folderPath, const std::u16string& name, CaseOptions options) {
    return renamer.Rename(folderPath, name, ConvertName(name, options)).outcome;
  }
  TempFolder folder;
  EntryRenamer renamer{folder.files};
};

TEST_F(RenameOnDisk, CaseOnlyRenameOfFileAndDirectory) {
  folder.File(u"README.TXT", "hello");
  CreateDirectoryW(W(folder.path() + u"SubDir"), nullptr);
  EXPECT_EQ(Rename(folder.path(), u"README.TXT", {true, false}), Outcome::Renamed);
  EXPECT_EQ(Rename(folder.path(), u"SubDir", {false, false}), Outcome::Renamed);
  EXPECT_EQ(folder.Names(), (std::vector<std::u16string>{u"SUBDIR", u"readme.txt"}));
}

TEST_F(RenameOnDisk, JapaneseNameUnderCodePage932) {
  ASSERT_EQ(GetACP(), 932u) << "run with LANG=ja_JP.UTF-8";
  folder.File(u"データ.TXT");
  EXPECT_EQ(Rename(folder.path(), u"データ.TXT", {true, true}), Outcome::Renamed);
  EXPECT_EQ(folder.Names(), (std::vector<std::u16string>{u"データ.txt"}));
  // The same name in Shift-JIS bytes, as the library and the list file carry it.
  EXPECT_EQ(win32::ToAnsi(u"データ"), std::string("\x83\x66\x81\x5B\x83\x5E"));
  EXPECT_EQ(win32::FromAnsi("\x83\x66\x81\x5B\x83\x5E"), u"データ");
}

TEST_F(RenameOnDisk, AMissingEntryIsRefused) {
  EXPECT_EQ(Rename(folder.path(), u"MISSING.TXT", {true, false}), Outcome::Refused);
}

// Two names that differ only in case in one Linux folder: converting one
// must not replace the other. The folder is prepared outside Wine.
TEST_F(RenameOnDisk, NamesDifferingOnlyInCaseBothSurvive) {
  const char* dir = std::getenv("ZEFTA_CASE_PAIR_DIR");
  if (!dir) GTEST_SKIP() << "ZEFTA_CASE_PAIR_DIR not prepared";
  const std::u16string path = win32::FromAnsi(dir) + u"\\";
  // Both refused; both files keep their contents.
  EXPECT_EQ(Rename(path, u"README", {true, false}), Outcome::Refused);
  EXPECT_EQ(Rename(path, u"readme", {false, false}), Outcome::Refused);
  // Nothing is left behind under a parked name.
  win32::Win32FileSystem files;
  auto names = files.Enumerate(path, 0).value_or(std::vector<std::u16string>{});
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::u16string>{u"README", u"readme"}));
  for (const char* name : {"README", "readme"}) {
    std::ifstream in(std::string(dir) + "\\" + name);
    std::string content;
    std::getline(in, content);
    EXPECT_EQ(content, std::string("content of ") + name);
  }
}

TEST(CaseMappingWin32, WholeSubstringOneUnitToOne) {
  EXPECT_EQ(MapCase(u"Readme.TXT", CaseDirection::Lower), u"readme.txt");
  EXPECT_EQ(MapCase(u"データ.txt", CaseDirection::Upper), u"データ.TXT");
  EXPECT_EQ(MapCase(u"ＡＢＣｄｅｆ", CaseDirection::Lower), u"ａｂｃｄｅｆ");
  EXPECT_EQ(MapCase(u"ｱｲｳｴｵ", CaseDirection::Lower), u"ｱｲｳｴｵ");
  EXPECT_EQ(MapCase(u"", CaseDirection::Upper), u"");
  // Sharp s has no one-unit upper case: it stays.
  EXPECT_EQ(MapCase(u"straße", CaseDirection::Upper).size(), 6u);
}

}  // namespace
}  // namespace zefta
