// The Win32 file system's placeholders under Wine: what a cut may leave is
// cleared, and nothing else is ever taken for one.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/services/services_win32.h"
#include "platform/win32/support/text.h"

namespace zefta {
namespace {

std::u16string NewFolder() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"zefta-fs-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  return win32::U(folder.c_str());
}

void Make(const std::u16string& path, const std::string& text) {
  const HANDLE file = CreateFileW(win32::W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

bool Exists(const std::u16string& path) { return GetFileAttributesW(win32::W(path)) != INVALID_FILE_ATTRIBUTES; }

TEST(Win32FileSystem, PlaceholdersAreMadeWithTheirTextAndOnlyTheyAreCleared) {
  const std::u16string folder = NewFolder(), staging = folder + u"~zefta-placeholder.tmp";
  win32::Win32FileSystem files;
  Make(folder + u"Entry.TXT", "entry");
  Make(folder + u"Empty.TXT", "");
  // Moves by way of placeholders leave nothing behind but the entries once
  // they go on in another folder, and once they are over.
  const std::u16string sub = folder + u"Sub\\";
  CreateDirectoryW(win32::W(sub), nullptr);
  Make(sub + u"In.TXT", "in");
  ASSERT_TRUE(files.Open(folder + u"Entry.TXT")->MoveTo(folder + u"Step.TXT"));
  ASSERT_TRUE(files.Open(folder + u"Step.TXT")->MoveTo(folder + u"Moved.TXT"));
  ASSERT_TRUE(files.Open(sub + u"In.TXT")->MoveTo(sub + u"Out.TXT"));
  EXPECT_TRUE(Exists(folder + u"Moved.TXT") && !Exists(folder + u"Step.TXT") && !Exists(staging));
  files.FinishMoves();
  EXPECT_TRUE(Exists(sub + u"Out.TXT") && !Exists(sub + u"~zefta-placeholder.tmp"));
  // An empty file is anybody's: the name it holds is taken from no one, and
  // it is not cleared; an empty staging file, which a cut leaves, is.
  EXPECT_FALSE(files.Open(folder + u"Moved.TXT")->MoveTo(folder + u"empty.txt"));
  Make(staging, "");
  EXPECT_FALSE(files.ClearPlaceholder(folder + u"Empty.TXT"));
  EXPECT_TRUE(Exists(folder + u"Empty.TXT"));
  EXPECT_FALSE(Exists(staging));
  // Another file put at the staging name between two moves is left alone;
  // the moves still happen.
  ASSERT_TRUE(files.Open(folder + u"Moved.TXT")->MoveTo(folder + u"Kept.TXT"));
  Make(staging, "someone's");
  EXPECT_TRUE(files.Open(folder + u"Kept.TXT")->MoveTo(folder + u"Other.TXT"));
  files.FinishMoves();
  EXPECT_TRUE(Exists(staging) && Exists(folder + u"Other.TXT"));
  for (const char16_t* name : {u"Other.TXT", u"Empty.TXT", u"~zefta-placeholder.tmp", u"Sub\\Out.TXT"})
    DeleteFileW(win32::W(folder + name));
  RemoveDirectoryW(win32::W(sub));
  RemoveDirectoryW(win32::W(folder));
}

}  // namespace
}  // namespace zefta
