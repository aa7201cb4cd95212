#include "wine_world.h"

#include <algorithm>
#include <set>

#include "platform/win32/text.h"
#include "services/case_mapping.h"

namespace zefta::reliability {

namespace {

using win32::U;
using win32::W;

struct Handle {
  HANDLE h;
  ~Handle() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};

std::u16string Decimal(long long value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

// Mixed case, Japanese, half-width katakana, full-width Latin, Greek and
// Cyrillic (cased, inside code page 932) and one letter outside it.
const char16_t* const kStems[] = {u"ReadMe", u"DATA", u"notes", u"Photo", u"Report_2024", u"mixedCase", u"ALLCAPS",
                                  u"archive.tar", u"v1.0.Final", u"データ", u"資料ファイル", u"ﾃﾞｰﾀ", u"ﾌｧｲﾙ名",
                                  u"写真ＡＢＣ", u"Ｆｕｌｌ", u"Ωmega", u"Ярлык", u"Café", u"a", u"x.Y"};
// Short, exactly five, longer than five, none, Japanese and full-width.
const char16_t* const kExtensions[] = {u".TXT", u".txt", u".Txt", u".JPEG", u".jpg", u".Markdown", u".config",
                                       u".HTML", u".c",  u".H",   u"",      u".GZ",  u".ﾃｷｽﾄ", u".ＴＸＴ", u".tEsT1"};
const char16_t* const kFolders[] = {u"Folder.D", u"v1.2",   u"Data.Backup", u"ﾌｫﾙﾀﾞ.Old", u"資料.Dir",
                                    u"Docs",     u"SRC",    u"ｻﾌﾞ",         u"Mixed Case", u"写真"};
// Names without a dot, put under dotted folders.
const char16_t* const kDotless[] = {u"Makefile", u"README", u"LICENSE", u"ﾒﾓ", u"Config", u"todo"};

template <std::size_t N>
const char16_t* Pick(std::mt19937& rng, const char16_t* const (&items)[N]) {
  return items[rng() % N];
}

bool WriteNew(const std::u16string& path, const std::string& content) {
  Handle file{CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)};
  DWORD written = 0;
  return file.h != INVALID_HANDLE_VALUE &&
         WriteFile(file.h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
         written == content.size();
}

// No access asked for, so entries that others hold open can still be identified.
std::uint64_t IdentityOf(const std::u16string& path) {
  Handle file{CreateFileW(W(path), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                          FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
  BY_HANDLE_FILE_INFORMATION info;
  if (file.h == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(file.h, &info)) {
    // Seen by the listing but not reachable by its name: keep it visible.
    return 0x8000000000000000ull | (std::hash<std::u16string>{}(path) & 0x7fffffffffffffffull);
  }
  return (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
}

std::string Content(const std::u16string& path) {
  Handle file{CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, 0, nullptr)};
  std::string content;
  char chunk[4096];
  DWORD got = 0;
  while (file.h != INVALID_HANDLE_VALUE && ReadFile(file.h, chunk, sizeof(chunk), &got, nullptr) && got > 0)
    content.append(chunk, got);
  return content;
}

template <typename Visit>
void ForEachEntry(const std::u16string& folder, Visit visit) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(W(folder + u"\\*"), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::u16string name = U(data.cFileName);
    if (name != u"." && name != u"..") visit(name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

void Walk(const std::u16string& folder, std::uint64_t folderId, Snapshot& out) {
  ForEachEntry(folder, [&](const std::u16string& name, bool directory) {
    const std::u16string path = folder + u"\\" + name;
    const std::uint64_t id = IdentityOf(path);
    out[id] = {path, name, folderId, directory, directory ? std::string() : Content(path)};
    if (directory) Walk(path, id, out);
  });
}

void RemoveTree(const std::u16string& path) {
  SetFileAttributesW(W(path), FILE_ATTRIBUTE_NORMAL);
  ForEachEntry(path, [&](const std::u16string& name, bool) { RemoveTree(path + u"\\" + name); });
  if (!DeleteFileW(W(path))) RemoveDirectoryW(W(path));
}

}  // namespace

WineWorld::WineWorld(std::u16string base) : base_(std::move(base)) {
  CreateDirectoryW(W(base_), nullptr);
  CreateDirectoryW(W(TempDir()), nullptr);
}

WineWorld::~WineWorld() { Release(); }

std::u16string WineWorld::NewTree(std::mt19937& rng) {
  const std::u16string root = base_ + u"\\t" + Decimal(trees_++);
  CreateDirectoryW(W(root), nullptr);
  madeOnLinux += static_cast<int>(Take(root).size());
  std::set<std::u16string> used;
  int serial = 0;
  // A name not yet used in the folder, compared without regard to case.
  const auto fresh = [&](const std::u16string& folder, const std::u16string& name) {
    std::u16string path = folder + u"\\" + name;
    for (int n = 2; used.count(MapCase(path, CaseDirection::Upper)) || GetFileAttributesW(W(path)) != INVALID_FILE_ATTRIBUTES; ++n)
      path = folder + u"\\" + Decimal(n) + u"_" + name;
    used.insert(MapCase(path, CaseDirection::Upper));
    return path;
  };
  const auto file = [&](const std::u16string& path) {
    std::string content = "tree file " + std::to_string(++serial) + "\n";
    content.append(rng() % 64, static_cast<char>('a' + rng() % 26));
    if (!WriteNew(path, content)) return;
    nearPathLimit += path.size() >= 240;
    if (rng() % 7 == 0 && SetFileAttributesW(W(path), FILE_ATTRIBUTE_READONLY)) ++readOnly;
  };

  // Paths near the ANSI limit: a chain of folders (one link Japanese, so its
  // Shift-JIS form runs past the limit sooner), then names of 240 to 259.
  std::u16string chain = root;
  for (int level = 0; chain.size() < 200; ++level) {
    const std::u16string path = fresh(chain, level == 1 ? u"長いパス名のフォルダ.Dir" : u"LongPath" + Decimal(level) + u".Folder_Abc");
    if (!CreateDirectoryW(W(path), nullptr)) break;
    chain = path;
  }
  for (int length : {240, 255, 259}) {
    std::u16string name = length % 2 ? u"Near.LIMIT" : u"near_Limit.Txt";
    const std::size_t room = static_cast<std::size_t>(length) - chain.size() - 1;
    if (name.size() < room) name.insert(4, std::u16string(room - name.size(), length == 255 ? u'ﾃ' : u'x'));
    file(chain + u"\\" + name.substr(0, room));
  }
  // Folders up to three levels deep, dotted ones holding dotless names.
  std::vector<std::u16string> folders{root};
  for (int made = 0; made < 30; ++made) {
    const std::u16string parent = folders[rng() % folders.size()];
    if (rng() % 5 == 0 && std::count(parent.begin() + static_cast<long>(root.size()), parent.end(), u'\\') < 3) {
      const std::u16string path = fresh(parent, Pick(rng, kFolders));
      if (!CreateDirectoryW(W(path), nullptr)) continue;
      folders.push_back(path);
      if (path.find(u'.', root.size()) != std::u16string::npos) file(fresh(path, Pick(rng, kDotless)));
    } else {
      file(fresh(parent, std::u16string(Pick(rng, kStems)) + Pick(rng, kExtensions)));
    }
  }
  if (folders.size() > 1 && SetFileAttributesW(W(folders[1]), FILE_ATTRIBUTE_READONLY)) ++readOnly;
  return root;
}

Snapshot WineWorld::Take(const std::u16string& root) {
  Snapshot snapshot;
  Walk(root, IdentityOf(root), snapshot);
  return snapshot;
}

std::vector<std::uint64_t> WineWorld::Remove(const std::u16string& path) {
  // Told by identity, not by name: beside a case twin the name still leads
  // somewhere after the entry itself has gone.
  const std::u16string parent = path.substr(0, path.rfind(u'\\'));
  const Snapshot before = Take(parent);
  RemoveTree(path);
  const Snapshot after = Take(parent);
  std::vector<std::uint64_t> gone;
  for (const auto& [id, record] : before)
    if (!after.count(id)) gone.push_back(id);
  return gone;
}

bool WineWorld::Hold(const std::u16string& path) {
  // No sharing at all: the entry can be neither moved nor deleted meanwhile.
  HANDLE h = CreateFileW(W(path), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  held_.push_back(h);
  return true;
}

void WineWorld::Release() {
  for (HANDLE h : held_) CloseHandle(h);
  held_.clear();
  guarded_.refuseNext = false;
}

}  // namespace zefta::reliability
