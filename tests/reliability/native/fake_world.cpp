#include "fake_world.h"

#include <algorithm>
#include <functional>
#include <set>

#include "services/case_mapping.h"

namespace zefta::reliability {

namespace {

using testing::FakeFileSystem;

std::u16string Upper(std::u16string_view text) { return MapCase(text, CaseDirection::Upper); }

// Mixed case, dots in odd places, extensions of every length, a letter
// outside the code page.
const char16_t* const kStems[] = {u"ReadMe", u"DATA",   u"notes", u"Photo", u"Report_2024", u"mixedCase",
                                  u"ALLCAPS", u"lower", u"archive.tar", u"v1.0.Final", u"Café", u"Ωmega", u"x.Y"};
const char16_t* const kExtensions[] = {u".TXT", u".txt", u".Txt", u".JPEG", u".jpg", u".Markdown", u".config",
                                       u".HTML", u".c",  u".H",   u"",      u".GZ",  u".PnG", u".tEsT1"};
const char16_t* const kFolders[] = {u"Folder.D", u"v1.2", u"Data.Backup", u"Docs", u"SRC", u"Mixed Case"};
// Names without a dot, put under dotted folders.
const char16_t* const kDotless[] = {u"Makefile", u"README", u"LICENSE", u"Config", u"todo"};

template <std::size_t N>
const char16_t* Pick(std::mt19937& rng, const char16_t* const (&items)[N]) {
  return items[rng() % N];
}

// Every letter in the other case: "ReadMe.Txt" gives "rEADmE.tXT".
std::u16string Flipped(std::u16string_view name) {
  std::u16string flipped;
  for (char16_t c : name) {
    const std::u16string one(1, c);
    const std::u16string upper = Upper(one);
    flipped += upper != one ? upper : MapCase(one, CaseDirection::Lower);
  }
  return flipped;
}

// The library's tree listing over the fake file system: pair lines of every
// file (and folder, in mode 4) in depth-first pre-order.
class FakeListing final : public TreeLister {
 public:
  FakeListing(FakeFileSystem& files, testing::FakeFileReader& reader, CodePage& code)
      : files_(files), reader_(reader), code_(code) {}
  std::optional<std::int32_t> MakeDirFileList(std::int32_t mode, const std::string& directory,
                                              const std::string& listPath) override {
    std::string out;
    int files = 0;
    Walk(code_.FromAnsi(directory), directory, mode, out, files);
    reader_.files[code_.FromAnsi(listPath)] = out;
    return files;
  }

 private:
  void Walk(const std::u16string& folder, const std::string& bytes, int mode, std::string& out, int& files) {
    for (const std::u16string& name : files_.Names(folder + u"\\").value_or(std::vector<std::u16string>{})) {
      const bool directory = files_.Find(folder + u"\\" + name)->directory;
      const std::string nameBytes = code_.ToAnsi(name);
      if (!directory || mode == 4) out += "\"" + bytes + "\", \"" + nameBytes + "\"\r\n";
      if (directory) Walk(folder + u"\\" + name, bytes + "\\" + nameBytes, mode, out, files);
      else ++files;
    }
  }
  FakeFileSystem& files_;
  testing::FakeFileReader& reader_;
  CodePage& code_;
};

}  // namespace

FakeWorld::FakeWorld(FakeFileSystem::Kind kind)
    : kind_(kind), files_(kind), lister_(std::make_unique<FakeListing>(files_, reader_, code_)) {}
FakeWorld::~FakeWorld() = default;

const char* FakeWorld::Name() const {
  return kind_ == FakeFileSystem::Kind::Windows ? "like Windows" : "like Wine on a Linux folder";
}

std::u16string FakeWorld::NewTree(std::mt19937& rng) {
  files_ = FakeFileSystem(kind_);
  const std::u16string root = u"c:\\t" + std::u16string(1, static_cast<char16_t>(u'0' + ++serial_ % 10));
  files_.AddDirectory(root);
  std::vector<std::u16string> folders{root};
  std::set<std::u16string> used;
  const auto fresh = [&](const std::u16string& folder, std::u16string name) {
    for (int n = 2; used.count(Upper(folder + u"\\" + name)); ++n) name = std::u16string(1, u'0' + n % 10) + name;
    used.insert(Upper(folder + u"\\" + name));
    return folder + u"\\" + name;
  };
  const int entries = 6 + static_cast<int>(rng() % 11);
  for (int made = 0; made < entries; ++made) {
    const std::u16string parent = folders[rng() % folders.size()];
    const bool deep = std::count(parent.begin(), parent.end(), u'\\') >= 4;
    std::u16string path;
    if (!deep && rng() % 5 == 0) {
      path = fresh(parent, Pick(rng, kFolders));
      files_.AddDirectory(path);
      folders.push_back(path);
      if (path.find(u'.', root.size()) != std::u16string::npos)
        files_.AddFile(fresh(path, Pick(rng, kDotless)), "dotless " + std::to_string(made));
    } else {
      path = fresh(parent, std::u16string(Pick(rng, kStems)) + Pick(rng, kExtensions));
      files_.AddFile(path, "file " + std::to_string(made));
    }
    if (rng() % 10 == 0) files_.Find(path)->hidden = true;
    // Like Wine on Linux: another spelling of the same name beside it.
    if (kind_ == FakeFileSystem::Kind::WineOnLinux && rng() % 6 == 0) MakeTwin(path);
  }
  return root;
}

Snapshot FakeWorld::Take(const std::u16string& root) {
  Snapshot snapshot;
  const std::function<void(const std::u16string&, std::uint64_t)> walk = [&](const std::u16string& folder,
                                                                            std::uint64_t folderId) {
    for (const std::u16string& name : files_.Names(folder + u"\\").value_or(std::vector<std::u16string>{})) {
      const std::u16string path = folder + u"\\" + name;
      const FakeFileSystem::Entry& entry = *files_.Find(path);
      snapshot[entry.id] = {path, name, folderId, entry.directory, entry.content};
      if (entry.directory) walk(path, entry.id);
    }
  };
  if (const auto* top = files_.Find(root)) walk(files_.ActualPath(root), top->id);
  return snapshot;
}

std::vector<std::uint64_t> FakeWorld::Remove(const std::u16string& path) {
  std::vector<std::uint64_t> ids;
  const FakeFileSystem::Entry* entry = files_.Find(path);
  if (!entry) return ids;
  ids.push_back(entry->id);
  for (const auto& [id, record] : Take(path)) ids.push_back(id);
  files_.Remove(path);
  return ids;
}

bool FakeWorld::Hold(const std::u16string& path) {
  guarded_.held.push_back(path);
  return true;
}

std::optional<std::uint64_t> FakeWorld::MakeTwin(const std::u16string& path) {
  if (kind_ != FakeFileSystem::Kind::WineOnLinux) return std::nullopt;
  const std::u16string stored = files_.ActualPath(path);
  const std::size_t sep = stored.rfind(u'\\');
  if (stored.empty() || sep == std::u16string::npos) return std::nullopt;
  const std::u16string twin = stored.substr(0, sep + 1) + Flipped(stored.substr(sep + 1));
  if (twin == stored || files_.StoredName(twin) == std::u16string_view(twin).substr(sep + 1)) return std::nullopt;
  files_.AddFile(twin, "twin");
  return files_.Find(twin)->id;
}

void FakeWorld::Release() {
  guarded_.held.clear();
  guarded_.refuseNext = false;
}

}  // namespace zefta::reliability
