#include "world.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "modules/name_rule.h"
#include "modules/paths.h"
#include "services/case_mapping.h"

namespace zefta::reliability {

namespace {

bool SameIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return MapCase(a, CaseDirection::Upper) == MapCase(b, CaseDirection::Upper);
}

const char16_t* const kStems[] = {u"ReadMe",   u"DATA",       u"notes", u"Report_2024", u"mixedCase", u"archive.tar",
                                  u"v1.0.Final", u"データ",   u"日本語ソ表", u"ﾃﾞｰﾀ", u"ﾌｧｲﾙ", u"Ａａ",
                                  u"Café",     u"a",          u"x.Y"};
const char16_t* const kExtensions[] = {u".TXT", u".txt", u".Txt",  u".JPEG", u".jpg", u".Markdown", u".config",
                                       u".c",   u".H",   u"",      u".GZ",   u".ﾃｷｽﾄ", u".ＡＡ",     u".tEsT1"};
const char16_t* const kFolders[] = {u"Folder.D", u"v1.2", u"Data.Backup", u"ﾌｫﾙﾀﾞ.Old", u"表ソ.Dir", u"SRC", u"Mixed Case"};
const char16_t* const kDotless[] = {u"Makefile", u"README", u"LICENSE", u"ﾒﾓ", u"todo"};

template <std::size_t N>
std::u16string Pick(std::mt19937& rng, const char16_t* const (&items)[N]) {
  return items[rng() % N];
}

}  // namespace

std::u16string_view WithoutParking(std::u16string_view name) {
  constexpr std::u16string_view kSuffix = u".~ZEFTA";
  // An entry left parked may be parked again by a later run.
  for (;;) {
    const std::size_t at = name.size() >= kSuffix.size() + 1 ? name.size() - kSuffix.size() - 1 : 0;
    if (at == 0 || !SameIgnoringCase(name.substr(at, kSuffix.size()), kSuffix) || name.back() < u'0' || name.back() > u'9')
      return name;
    name = name.substr(0, at);
  }
}

std::u16string WithFlippedCase(const std::u16string& path) {
  std::u16string flipped = path;
  for (std::size_t i = path.rfind(u'\\') + 1; i < flipped.size(); ++i) {
    const std::u16string one(1, flipped[i]), upper = MapCase(one, CaseDirection::Upper);
    flipped[i] = (upper != one ? upper : MapCase(one, CaseDirection::Lower))[0];
  }
  return flipped;
}

class GuardedEntry final : public OpenedEntry {
 public:
  GuardedEntry(GuardedFiles& files, std::unique_ptr<OpenedEntry> real, std::u16string path)
      : files_(files), real_(std::move(real)), path_(std::move(path)) {}
  bool MoveTo(std::u16string_view path) override {
    return Move(path, [&] { return real_->MoveTo(path); });
  }
  bool MoveToParkedName(std::u16string_view path) override {
    return Move(path, [&] { return real_->MoveToParkedName(path); });
  }

 private:
  template <typename RealMove>
  bool Move(std::u16string_view path, RealMove move) {
    if (!files_.Allowed(path_, path) || !move()) return false;
    path_ = path;
    return true;
  }

  GuardedFiles& files_;
  std::unique_ptr<OpenedEntry> real_;
  std::u16string path_;
};

std::unique_ptr<OpenedEntry> GuardedFiles::Open(std::u16string_view path) {
  auto real = real_.Open(path);
  if (!real) return nullptr;
  return std::make_unique<GuardedEntry>(*this, std::move(real), std::u16string(path));
}

bool GuardedFiles::Allowed(std::u16string_view from, std::u16string_view to) {
  ++moves;
  const PathParts a = SplitPath(from), b = SplitPath(to);
  if (!SameIgnoringCase(a.folder, b.folder) || !SameIgnoringCase(WithoutParking(a.name), WithoutParking(b.name))) {
    ++strayMoves;  // never carried out: what counts is that the program asked for it
    return false;
  }
  if (std::exchange(refuseNext, false)) return false;
  for (const auto& path : held)
    if (SameIgnoringCase(path, from)) return false;
  return true;
}

Snapshot Take(World& world, const std::u16string& root) {
  Snapshot snapshot;
  const std::function<void(const std::u16string&, std::uint64_t)> walk = [&](const std::u16string& folder,
                                                                            std::uint64_t folderId) {
    for (const std::u16string& name : world.EveryName(folder)) {
      const std::u16string path = folder + u"\\" + name;
      const bool link = world.IsLink(path);
      const bool directory = !link && world.guarded.DirectoryExists(path);
      // A link by its place, as is an entry listed but not reachable by its path.
      std::uint64_t id = link ? 0 : world.Identity(path);
      const std::size_t place = link ? std::hash<std::u16string>{}(name) ^ folderId * 0x9E3779B97F4A7C15ull
                                     : std::hash<std::u16string>{}(path);
      if (!id) id = 1ull << 63 | place >> 1;
      snapshot[id] = {path, name, folderId, directory, directory || link ? std::string() : world.Content(path)};
      if (directory) walk(path, id);
    }
  };
  if (const std::uint64_t id = world.Identity(root)) walk(root, id);
  return snapshot;
}

std::u16string NewTree(World& world, std::mt19937& rng, int entries) {
  const std::u16string root = world.NewRoot();
  // A name not yet taken in the folder, in any spelling.
  const auto fresh = [&](const std::u16string& folder, const std::u16string& name) {
    std::u16string path = folder + u"\\" + name;
    for (char16_t n = u'2'; world.Identity(path) || world.IsLink(path); n = n == u'9' ? u'2' : n + 1)
      path = folder + u"\\" + n + name;
    return path;
  };
  const auto file = [&](const std::u16string& path) {
    std::string content = "tree file " + std::to_string(rng()) + "\n";
    content.append(rng() % 64, static_cast<char>('a' + rng() % 26));
    if (world.MakeFile(path, content, rng() % 7 == 0) && rng() % 6 == 0) world.MakeTwin(path);
  };
  std::vector<std::u16string> folders{root}, made{};
  for (int n = 0; n < entries; ++n) {
    const std::u16string parent = folders[rng() % folders.size()];
    if (rng() % 5 == 0 && std::count(parent.begin() + static_cast<long>(root.size()), parent.end(), u'\\') < 3) {
      const std::u16string path = fresh(parent, Pick(rng, kFolders));
      if (!world.MakeDirectory(path)) continue;
      folders.push_back(path);
      made.push_back(path);
      if (path.find(u'.', root.size()) != std::u16string::npos) file(fresh(path, Pick(rng, kDotless)));
    } else {
      made.push_back(fresh(parent, Pick(rng, kStems) + Pick(rng, kExtensions)));
      file(made.back());
    }
  }
  // Links named like the files, to an entry of the tree, outside it, or nowhere.
  const std::u16string outside = world.Outside();
  for (int n = rng() % 4; n > 0 && !made.empty(); --n) {
    const std::u16string targets[] = {made[rng() % made.size()], root + u"\\Gone.TXT", outside + u"\\Real.TXT",
                                      outside + u"\\RealDir.D"};
    // Now and then dangling beside an entry whose name differs in case only.
    const std::u16string name = rng() % 3 ? fresh(folders[rng() % folders.size()], Pick(rng, kStems) + Pick(rng, kExtensions))
                                          : WithFlippedCase(made[rng() % made.size()]);
    world.MakeLink(name, targets[rng() % (outside.empty() ? 2 : 4)]);
  }
  return root;
}

}  // namespace zefta::reliability
