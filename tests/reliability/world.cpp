#include "world.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "modules/name_rule.h"
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
  constexpr std::u16string_view kSuffix = u".~zefta";
  const std::size_t at = name.size() >= kSuffix.size() + 1 ? name.size() - kSuffix.size() - 1 : 0;
  if (at > 0 && name.substr(at, kSuffix.size()) == kSuffix && name.back() >= u'0' && name.back() <= u'9')
    return name.substr(0, at);
  return name;
}

bool GuardedFiles::Move(std::u16string_view from, std::u16string_view to) {
  ++moves;
  const PathParts a = SplitPath(from), b = SplitPath(to);
  if (!SameIgnoringCase(a.folder, b.folder) || !SameIgnoringCase(WithoutParking(a.name), WithoutParking(b.name))) {
    ++strayMoves;  // never carried out: what counts is that the program asked for it
    return false;
  }
  if (std::exchange(refuseNext, false)) return false;
  for (const auto& path : held)
    if (SameIgnoringCase(path, from)) return false;
  return real_.Move(from, to);
}

Snapshot Take(World& world, const std::u16string& root) {
  Snapshot snapshot;
  const std::function<void(const std::u16string&, std::uint64_t)> walk = [&](const std::u16string& folder,
                                                                            std::uint64_t folderId) {
    for (const std::u16string& name : world.guarded.Names(folder + u"\\").value_or(std::vector<std::u16string>{})) {
      const std::u16string path = folder + u"\\" + name;
      const bool directory = world.guarded.DirectoryExists(path);
      // Seen by the listing but not reachable by its name: kept visible.
      std::uint64_t id = world.Identity(path);
      if (!id) id = 1ull << 63 | std::hash<std::u16string>{}(path) >> 1;
      snapshot[id] = {path, name, folderId, directory, directory ? std::string() : world.Content(path)};
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
    for (char16_t n = u'2'; world.Identity(path); n = n == u'9' ? u'2' : n + 1) path = folder + u"\\" + n + name;
    return path;
  };
  const auto file = [&](const std::u16string& path) {
    std::string content = "tree file " + std::to_string(rng()) + "\n";
    content.append(rng() % 64, static_cast<char>('a' + rng() % 26));
    if (world.MakeFile(path, content, rng() % 7 == 0) && rng() % 6 == 0) world.MakeTwin(path);
  };
  std::vector<std::u16string> folders{root};
  for (int made = 0; made < entries; ++made) {
    const std::u16string parent = folders[rng() % folders.size()];
    if (rng() % 5 == 0 && std::count(parent.begin() + static_cast<long>(root.size()), parent.end(), u'\\') < 3) {
      const std::u16string path = fresh(parent, Pick(rng, kFolders));
      if (!world.MakeDirectory(path)) continue;
      folders.push_back(path);
      if (path.find(u'.', root.size()) != std::u16string::npos) file(fresh(path, Pick(rng, kDotless)));
    } else {
      file(fresh(parent, Pick(rng, kStems) + Pick(rng, kExtensions)));
    }
  }
  return root;
}

}  // namespace zefta::reliability
