// The no-data-loss runs on real files under Wine: the real file system,
// the real tree listing, paths near and past MAX_PATH, read-only
// entries, and names that differ only in letter case, made beforehand on the
// Linux side. ZEFTA_RELIABILITY_DIR names the work folder that
// run_no_data_loss.sh prepared; ZEFTA_TREES the number of trees, each run
// through all 32 paths and option sets.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>

#include "path_forms.h"
#include "platform/win32/services/services_win32.h"
#include "platform/win32/support/whole_file.h"
#include "platform/win32/support/text.h"
#include "property_run.h"
#include "text_util.h"

namespace zefta::reliability {
namespace {

using win32::U;
using win32::W;

std::u16string Decimal(int value) { return U(std::to_wstring(value).c_str()); }

// Every path in its \\?\ form, as the program gives them: names the path
// rules would change (NOTES., CON.TXT) and paths of any length.
std::wstring X(const std::u16string& path) {
  return kestrum::ExtendedPath(std::wstring_view(reinterpret_cast<const wchar_t*>(path.data()), path.size()));
}

struct Handle {
  HANDLE h;
  ~Handle() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};

class WineWorld final : public World {
 public:
  explicit WineWorld(std::u16string base) : World(files_), base_(std::move(base)) {
    CreateDirectoryW(W(base_), nullptr);
  }
  ~WineWorld() override { Release(); }

  TreeLister& Lister() override { return lister_; }

  // The tree t<n>, with what the Linux side made there, and a chain of
  // folders (one link Japanese, so that its Shift-JIS form runs past the
  // limit sooner) holding names of 240 to 259 characters.
  std::u16string NewRoot() override {
    const std::u16string root = base_ + u"\\t" + Decimal(trees_++);
    CreateDirectoryW(W(root), nullptr);
    madeOnLinux += static_cast<int>(Take(*this, root).size());
    std::u16string chain = root;
    for (int level = 0; chain.size() < 200; ++level) {
      const std::u16string link = chain + (level == 1 ? u"\\長いパス名のフォルダ.Dir" : u"\\LongPath" + Decimal(level) + u".Folder_Abc");
      if (!MakeDirectory(link)) break;
      chain = link;
    }
    for (int length : {240, 255, 259}) {
      std::u16string name = length % 2 ? u"Near.LIMIT" : u"near_Limit.Txt";
      const std::size_t room = static_cast<std::size_t>(length) - chain.size() - 1;
      if (name.size() < room) name.insert(4, std::u16string(room - name.size(), length == 255 ? u'ﾃ' : u'x'));
      nearPathLimit += MakeFile(chain + u"\\" + name.substr(0, room), "near the limit", false);
    }
    return root;
  }
  bool MakeDirectory(const std::u16string& path) override { return CreateDirectoryW(X(path).c_str(), nullptr); }
  bool MakeFile(const std::u16string& path, const std::string& content, bool makeReadOnly) override {
    Handle file{CreateFileW(X(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)};
    DWORD written = 0;
    if (file.h == INVALID_HANDLE_VALUE ||
        !WriteFile(file.h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr))
      return false;
    readOnly += makeReadOnly && SetFileAttributesW(X(path).c_str(), FILE_ATTRIBUTE_READONLY);
    return true;
  }
  // No access asked for, so that entries others hold open can be identified too.
  std::uint64_t Identity(const std::u16string& path) override {
    Handle file{CreateFileW(X(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
    BY_HANDLE_FILE_INFORMATION info;
    if (file.h == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(file.h, &info)) return 0;
    return (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  }
  std::string Content(const std::u16string& path) override { return win32::ReadWholeFile(path).bytes; }

  // The links are the Linux side's to check, by inode: a link whose target a
  // run renamed (rightly) dangles, and Wine then shows it nowhere.
  std::vector<std::u16string> EveryName(const std::u16string& folder) override {
    std::vector<std::u16string> names;
    for (auto& name : World::EveryName(folder))
      if (!IsLink(folder + u"\\" + name)) names.push_back(std::move(name));
    return names;
  }
  bool IsLink(const std::u16string& path) override { return files_.Holder(path) == NameHolder::Link; }
  // Not a link: Wine would delete through it what it leads to.
  void Delete(const std::u16string& path) override {
    if (files_.Holder(path) != NameHolder::Entry) return;
    SetFileAttributesW(X(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    for (const auto& name : files_.Names(path + u"\\").value_or(std::vector<std::u16string>{})) Delete(path + u"\\" + name);
    if (!DeleteFileW(X(path).c_str())) RemoveDirectoryW(X(path).c_str());
  }
  // No sharing at all: the entry can be neither moved nor deleted meanwhile,
  // under its parked name neither.
  void Hold(const std::u16string& path) override {
    HANDLE h = CreateFileW(X(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h != INVALID_HANDLE_VALUE) held_.push_back(h);
  }
  void Release() override {
    for (HANDLE h : held_) CloseHandle(h);
    held_.clear();
    World::Release();
  }

  int readOnly = 0, nearPathLimit = 0, madeOnLinux = 0;

 private:
  win32::Win32FileSystem files_;
  std::u16string base_;
  int trees_ = 0;
  win32::ThreadTreeLister lister_;
  std::vector<HANDLE> held_;
};

}  // namespace
}  // namespace zefta::reliability

// ZEFTA_REAL_TREE=<folder> ZEFTA_REAL_OPTIONS=<lower|upper><,ext>: one
// whole-tree conversion of that folder, directories included; prints what
// the list window listed and the closing message, for the Linux side to judge.
int ConvertRealTree(const wchar_t* root) {
  using namespace zefta::reliability;
  const std::string options = std::getenv("ZEFTA_REAL_OPTIONS") ? std::getenv("ZEFTA_REAL_OPTIONS") : "lower,ext";
  WineWorld world(U(_wgetenv(L"ZEFTA_RELIABILITY_DIR")));
  const WholeTreeReport report = ConvertWholeTreeOnce(world, U(root), options.starts_with("lower"),
                                                      options.find("ext") != std::string::npos, true);
  std::printf("listed %d\nclosing %s\n", report.listed, zefta::testing::U8(report.closing).c_str());
  return report.listed > 0 ? 0 : 1;
}

int wmain() {
  using namespace zefta::reliability;
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  _setmode(_fileno(stdout), _O_BINARY);  // plain LF lines, read on the Linux side
  if (const wchar_t* real = _wgetenv(L"ZEFTA_REAL_TREE")) return ConvertRealTree(real);
  PropertySettings settings{.trees = 3, .runsPerTree = 32, .entries = 30};
  if (const char* trees = std::getenv("ZEFTA_TREES")) settings.trees = std::atoi(trees);
  const wchar_t* base = _wgetenv(L"ZEFTA_RELIABILITY_DIR");
  if (!base || !*base || settings.trees < 1) {
    std::printf("usage: ZEFTA_RELIABILITY_DIR=<prepared folder> [ZEFTA_TREES=n] no_data_loss\n");
    return 2;
  }
  WineWorld world(U(base));
  const PropertyTotals totals = RunProperty(world, settings);
  const char* group = "no data loss, under Wine";
  PrintFigures(group, totals);
  std::printf("FIGURE|%s|read-only entries|%d\nFIGURE|%s|entries near the path limit|%d\n"
              "FIGURE|%s|entries made on the Linux side (case pairs)|%d\n",
              group, world.readOnly, group, world.nearPathLimit, group, world.madeOnLinux);
  const bool passed = totals.Clean() && totals.trees == settings.trees;
  std::printf(passed ? "passed\n" : "FAILED\n");
  return passed ? 0 : 1;
}
