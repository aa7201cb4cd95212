// The real services under Wine: settings in the registry, enumeration,
// the window finder, the command line and the library binding.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/drop_target.h"
#include "platform/win32/services_win32.h"
#include "platform/win32/text.h"

namespace zefta {
namespace {

using win32::U;
using win32::W;

constexpr char16_t kApp[] = u"ZeftaWineTest";
constexpr wchar_t kSectionKey[] = L"Software\\VB and VBA Program Settings\\ZeftaWineTest\\SYSTEM";

class RegistryStore : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\ZeftaWineTest"); }
  void TearDown() override { SetUp(); }
  // Reads a value back the way another program would.
  static std::wstring ReadBack(const wchar_t* name, DWORD* type = nullptr) {
    wchar_t buffer[512] = {};
    DWORD bytes = sizeof(buffer);
    DWORD kind = 0;
    const LSTATUS status =
        RegGetValueW(HKEY_CURRENT_USER, kSectionKey, name, RRF_RT_ANY, &kind, buffer, &bytes);
    if (type) *type = kind;
    return status == ERROR_SUCCESS ? std::wstring(buffer) : L"<missing>";
  }
  win32::RegistrySettingsStore store;
};

TEST_F(RegistryStore, RoundTripAtTheClassicKeyAsStrings) {
  EXPECT_EQ(store.Get(kApp, u"SYSTEM", u"DRV", u"C:\\"), u"C:\\") << "missing section gives the default";
  store.Set(kApp, u"SYSTEM", u"DRV", u"c:\\作業\\ﾃﾞｰﾀ");
  store.Set(kApp, u"SYSTEM", u"STTPOS", u"1");
  store.Set(kApp, u"SYSTEM", u"EMPTY", u"");
  DWORD type = 0;
  EXPECT_EQ(ReadBack(L"DRV", &type), L"c:\\作業\\ﾃﾞｰﾀ");
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(ReadBack(L"STTPOS"), L"1");
  EXPECT_EQ(store.Get(kApp, u"SYSTEM", u"DRV", u"x"), u"c:\\作業\\ﾃﾞｰﾀ");
  EXPECT_EQ(store.Get(kApp, u"SYSTEM", u"EMPTY", u"x"), u"") << "an empty value is a value";
  EXPECT_EQ(store.Get(kApp, u"SYSTEM", u"MSG", u"1"), u"1") << "missing key gives the default";
  store.Set(kApp, u"SYSTEM", u"STTPOS", u"0");
  EXPECT_EQ(store.Get(kApp, u"SYSTEM", u"STTPOS", u"1"), u"0");
  // A value longer than any first guess of the buffer.
  const std::u16string longValue(1000, u'あ');
  store.Set(kApp, u"SYSTEM", u"LONG", longValue);
  EXPECT_EQ(store.Get(kApp, u"SYSTEM", u"LONG", u""), longValue);
}

TEST_F(RegistryStore, ValuesWrittenByOthersReadSafely) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kSectionKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  // Without the terminating NUL, and a number where text is expected.
  const wchar_t text[] = {L'7', L'7'};
  RegSetValueExW(key, L"NONUL", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof(text));
  const DWORD number = 5;
  RegSetValueExW(key, L"DWORD", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
  RegCloseKey(key);
  EXPECT_EQ(store.Get(kApp, u"SYSTEM", u"NONUL", u"d"), u"77");
  EXPECT_EQ(store.Get(kApp, u"SYSTEM", u"DWORD", u"d"), u"d");
}

TEST_F(RegistryStore, DeleteSectionRemovesTheKey) {
  store.Set(kApp, u"SYSTEM", u"DRV", u"d:\\");
  store.Set(kApp, u"OTHER", u"KEEP", u"1");
  EXPECT_TRUE(store.DeleteSection(kApp, u"SYSTEM"));
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kSectionKey, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(store.Get(kApp, u"SYSTEM", u"DRV", u"C:\\"), u"C:\\");
  EXPECT_EQ(store.Get(kApp, u"OTHER", u"KEEP", u"0"), u"1") << "other sections stay";
  EXPECT_FALSE(store.DeleteSection(kApp, u"SYSTEM")) << "nothing left to delete";
}

TEST(Win32Enumeration, HiddenAndSystemEntriesNeverListed) {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  const std::u16string folder = U(base) + u"zefta_enum_" + std::u16string(1, u'0' + GetCurrentProcessId() % 10) + u"\\";
  CreateDirectoryW(W(folder), nullptr);
  auto file = [&](const std::u16string& name, DWORD attributes) {
    HANDLE h = CreateFileW(W(folder + name), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    CloseHandle(h);
    if (attributes) SetFileAttributesW(W(folder + name), attributes);
  };
  auto dir = [&](const std::u16string& name, DWORD attributes) {
    CreateDirectoryW(W(folder + name), nullptr);
    if (attributes) SetFileAttributesW(W(folder + name), attributes);
  };
  file(u"plain.txt", 0);
  file(u"日本語.TXT", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  file(u"hidden.txt", FILE_ATTRIBUTE_HIDDEN);
  file(u"system.txt", FILE_ATTRIBUTE_SYSTEM);
  dir(u"sub", 0);
  dir(u"hiddendir", FILE_ATTRIBUTE_HIDDEN);
  dir(u"systemdir", FILE_ATTRIBUTE_SYSTEM);

  // Hidden and system attributes must have taken under Wine for this test to mean anything.
  const DWORD hiddenAttributes = GetFileAttributesW(W(folder + u"hidden.txt"));
  win32::Win32FileSystem files;
  auto listed = [&](std::uint16_t mask) {
    auto names = files.Enumerate(folder, mask).value_or(std::vector<std::u16string>{u"<failed>"});
    std::erase_if(names, [](const std::u16string& n) { return n == u"." || n == u".."; });
    std::sort(names.begin(), names.end());
    return names;
  };
  if (hiddenAttributes & FILE_ATTRIBUTE_HIDDEN) {
    EXPECT_EQ(listed(0), (std::vector<std::u16string>{u"plain.txt", u"日本語.TXT"}));
    EXPECT_EQ(listed(kAttrDirectory), (std::vector<std::u16string>{u"plain.txt", u"sub", u"日本語.TXT"}));
    EXPECT_EQ(files.Subdirectories(folder), (std::vector<std::u16string>{u"sub"}));
  } else {
    ADD_FAILURE() << "the file system did not keep the hidden attribute";
  }
  EXPECT_FALSE(files.Enumerate(folder + u"missing\\", 0).has_value());

  for (const char16_t* name : {u"plain.txt", u"日本語.TXT", u"hidden.txt", u"system.txt"}) {
    SetFileAttributesW(W(folder + name), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(W(folder + name));
  }
  for (const char16_t* name : {u"sub", u"hiddendir", u"systemdir"}) {
    SetFileAttributesW(W(folder + name), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(W(folder + name));
  }
  RemoveDirectoryW(W(folder));
}

TEST(Win32Desktop, FindWindowByTitleExactTitleOnly) {
  win32::Win32Desktop desktop;
  EXPECT_EQ(desktop.FindWindowByTitle(u"SORVEL"), 0u);
  HWND window = CreateWindowExW(0, L"STATIC", L"SORVEL", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  HWND japanese =
      CreateWindowExW(0, L"STATIC", L"変換ファイル一覧", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(window && japanese);
  EXPECT_EQ(desktop.FindWindowByTitle(u"SORVEL"), reinterpret_cast<WindowHandle>(window)) << "hidden windows count";
  EXPECT_EQ(desktop.FindWindowByTitle(u"変換ファイル一覧"), reinterpret_cast<WindowHandle>(japanese))
      << "the title goes through code page 932";
  EXPECT_EQ(desktop.FindWindowByTitle(u"SORVELからのお知らせ"), 0u);
  EXPECT_EQ(desktop.FindWindowByTitle(u"sorve"), 0u);
  DestroyWindow(window);
  DestroyWindow(japanese);
  EXPECT_EQ(desktop.FindWindowByTitle(u"SORVEL"), 0u);
}

TEST(CommandLine, ArgumentsAfterTheProgramName) {
  struct Case {
    const char16_t* line;
    const char16_t* arguments;
  };
  const Case cases[] = {
      {u"ZEFTA.EXE /clear", u"/clear"},
      {u"C:\\Tools\\ZEFTA.EXE    /CLEAR", u"/CLEAR"},
      {u"\"C:\\Program Files\\Zefta\\ZEFTA.EXE\" /Clear", u"/Clear"},
      {u"\"C:\\Program Files\\Zefta\\ZEFTA.EXE\"/clear", u"/clear"},
      {u"ZEFTA.EXE\t/clear", u"/clear"},
      {u"ZEFTA.EXE /clear ", u"/clear "},
      {u"ZEFTA.EXE /clear now", u"/clear now"},
      {u"ZEFTA.EXE \"a b\"  c", u"\"a b\"  c"},
      {u"  ZEFTA.EXE /clear", u"/clear"},
      {u"ZEFTA.EXE", u""},
      {u"ZEFTA.EXE   ", u""},
      {u"\"C:\\unterminated quote /clear", u""},
      {u"", u""},
  };
  for (const Case& c : cases) EXPECT_EQ(win32::ArgumentsAfterProgramName(c.line), c.arguments) << "line: " << win32::ToAnsi(c.line);
}

TEST(Environment, VariablesAndOwnCommandLine) {
  win32::Win32Environment environment;
  SetEnvironmentVariableW(L"ZEFTA_TEST_VAR", L"C:\\一時\\");
  EXPECT_EQ(environment.Variable(u"ZEFTA_TEST_VAR"), std::optional<std::u16string>(u"C:\\一時\\"));
  const std::wstring longValue(3000, L'x');
  SetEnvironmentVariableW(L"ZEFTA_TEST_VAR", longValue.c_str());
  EXPECT_EQ(environment.Variable(u"ZEFTA_TEST_VAR")->size(), 3000u);
  SetEnvironmentVariableW(L"ZEFTA_TEST_VAR", nullptr);
  EXPECT_FALSE(environment.Variable(u"ZEFTA_TEST_VAR").has_value());
  // The own name is never part of the arguments.
  EXPECT_EQ(environment.CommandLineArguments().find(u"windows_tests"), std::u16string::npos);
}

TEST(FileReader, WholeFileOrNothing) {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  const std::u16string path = U(base) + u"zefta_reader_テスト.tmp";
  std::string content(200000, '\0');
  for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7);
  HANDLE h = CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(h);
  win32::Win32FileReader reader;
  EXPECT_EQ(reader.ReadAll(path), std::optional<std::string>(content));
  DeleteFileW(W(path));
  EXPECT_FALSE(reader.ReadAll(path).has_value());
}

TEST(TreeLister, NulloptWithoutTheLibrary) {
  win32::KestrumTreeLister lister("ZEFTA_NO_SUCH_LIBRARY.DLL");
  EXPECT_FALSE(lister.MakeDirFileList(2, "C:\\", "C:\\list.tmp").has_value());
  EXPECT_FALSE(lister.MakeDirFileList(2, "C:\\", "C:\\list.tmp").has_value());
}

TEST(TreeLister, CallsTheLibraryByNameAtTheFirstCall) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring bin(self);
  bin.resize(bin.find_last_of(L'\\'));
  bin += L"\\..\\..\\bin";
  if (GetFileAttributesW((bin + L"\\KESTRUM.DLL").c_str()) == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "KESTRUM.DLL not built";
  SetDllDirectoryW(bin.c_str());
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  const std::u16string folder = U(base) + u"zefta_tree";
  CreateDirectoryW(W(folder), nullptr);
  HANDLE h = CreateFileW(W(folder + u"\\one.txt"), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(h);
  const std::u16string list = U(base) + u"zefta_tree.tmp";
  win32::KestrumTreeLister lister;
  EXPECT_TRUE(lister.MakeDirFileList(2, win32::ToAnsi(folder), win32::ToAnsi(list)).has_value());
  EXPECT_NE(GetFileAttributesW(W(list)), INVALID_FILE_ATTRIBUTES) << "the library wrote its list file";
  SetDllDirectoryW(nullptr);
  DeleteFileW(W(list));
  DeleteFileW(W(folder + u"\\one.txt"));
  RemoveDirectoryW(W(folder));
}

TEST(DropData, FileListFromAnHdropBlock) {
  const std::wstring paths[] = {L"C:\\a.txt", L"C:\\日本語\\ﾌｧｲﾙ.TXT"};
  std::wstring list;
  for (const auto& p : paths) list += p + L'\0';
  list += L'\0';
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
  auto* header = static_cast<DROPFILES*>(GlobalLock(block));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  std::copy(list.begin(), list.end(), reinterpret_cast<wchar_t*>(header + 1));
  GlobalUnlock(block);
  const DropData data = win32::DropDataFromHdrop(static_cast<HDROP>(block));
  EXPECT_TRUE(data.hasFileList);
  EXPECT_EQ(data.files, (std::vector<std::u16string>{u"C:\\a.txt", u"C:\\日本語\\ﾌｧｲﾙ.TXT"}));
  GlobalFree(block);
  EXPECT_FALSE(win32::DropDataFromHdrop(nullptr).hasFileList);
}

}  // namespace
}  // namespace zefta
