#include "fake_file_system.h"

#include <algorithm>

#include "services/case_mapping.h"

namespace zefta::testing {

namespace {

bool SameIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && MapCase(a, CaseDirection::Upper) == MapCase(b, CaseDirection::Upper);
}

// "c:\a/b\\" as "c:\a\b": "/" counts as a separator, empty parts go.
std::u16string Normal(std::u16string_view path) {
  std::u16string out, part;
  for (std::size_t i = 0; i <= path.size(); ++i) {
    if (i < path.size() && path[i] != u'\\' && path[i] != u'/') {
      part += path[i];
    } else if (!part.empty()) {
      out += (out.empty() ? u"" : u"\\") + part;
      part.clear();
    }
  }
  return out;
}

FakeFileSystem::Entry Folder() {
  FakeFileSystem::Entry folder;
  folder.directory = true;
  return folder;
}

std::u16string Parent(const std::u16string& path) {
  const std::size_t sep = path.rfind(u'\\');
  return sep == std::u16string::npos ? u"" : path.substr(0, sep);
}

std::u16string SplitName(const std::u16string& path) { return path.substr(path.rfind(u'\\') + 1); }

}  // namespace

FakeFileSystem::FakeFileSystem(Kind k) : kind(k) {
  for (const auto& drive : drives) entries_[drive] = Entry{true, false, false, {}, ++lastId_, {}};
}

std::optional<std::u16string> FakeFileSystem::Child(const std::u16string& folder, std::u16string_view name,
                                                    bool unlisted) const {
  const auto shown = [&](const std::u16string& stored) { return unlisted ? !Listed(stored) : Listed(stored); };
  const std::u16string prefix = folder + u"\\";
  const std::u16string exact = prefix + std::u16string(name);
  if (entries_.count(exact) && shown(exact)) return exact;
  for (auto it = entries_.lower_bound(prefix); it != entries_.end() && it->first.starts_with(prefix); ++it) {
    const std::u16string_view child = std::u16string_view(it->first).substr(prefix.size());
    if (child.find(u'\\') == std::u16string_view::npos && SameIgnoringCase(child, name) && shown(it->first))
      return it->first;
  }
  return std::nullopt;
}

std::optional<std::u16string> FakeFileSystem::Resolve(std::u16string_view path, bool unlisted) const {
  return ResolveAt(path, unlisted, 0, false);
}

std::optional<std::u16string> FakeFileSystem::ResolveAt(std::u16string_view path, bool unlisted, int depth,
                                                        bool exact) const {
  const std::u16string normal = Normal(path);
  std::size_t end = normal.find(u'\\');
  std::optional<std::u16string> at;
  for (const std::u16string& drive : drives)
    if (SameIgnoringCase(drive, normal.substr(0, end)) && entries_.count(drive)) at = drive;
  while (at && end != std::u16string::npos) {
    const std::size_t start = end + 1;
    end = normal.find(u'\\', start);
    const auto folder = Followed(*at, depth);
    if (!folder || !entries_.at(*folder).directory) return std::nullopt;
    // Only the last part may be a dangling link: nothing lies below one.
    const std::u16string_view part = std::u16string_view(normal).substr(start, end - start);
    const std::u16string spelled = *folder + u"\\" + std::u16string(part);
    if (exact) at = entries_.count(spelled) ? std::optional(spelled) : std::nullopt;
    else at = Child(*folder, part, false);
    if (!at && unlisted && end == std::u16string::npos) at = Child(*folder, part, true);
  }
  return at;
}

std::optional<std::u16string> FakeFileSystem::Followed(const std::u16string& stored, int depth) const {
  const auto it = entries_.find(stored);
  if (it == entries_.end()) return std::nullopt;
  if (it->second.linkTo.empty()) return stored;
  if (depth > 8) return std::nullopt;  // links that lead round in a circle lead nowhere
  // Linux follows a link by its exact spelling.
  const auto target = ResolveAt(it->second.linkTo, false, depth + 1, KindOf(stored) == Kind::WineOnLinux);
  return target ? Followed(*target, depth + 1) : std::nullopt;
}

std::vector<std::u16string> FakeFileSystem::AllNames(std::u16string_view folderPath) const {
  const auto resolved = Resolve(folderPath);
  const auto folder = resolved ? Followed(*resolved) : std::nullopt;
  return folder ? ChildNames(*folder) : std::vector<std::u16string>{};
}

bool FakeFileSystem::IsLinkSpelled(std::u16string_view path) const {
  const std::u16string normal = Normal(path);
  const auto folder = Resolve(Parent(normal));
  const auto followed = folder ? Followed(*folder) : std::nullopt;
  const auto it = followed ? entries_.find(*followed + normal.substr(Parent(normal).size())) : entries_.end();
  return it != entries_.end() && !it->second.linkTo.empty();
}

std::vector<std::u16string> FakeFileSystem::SortedNames(std::u16string_view folderPath) {
  auto names = Names(folderPath).value_or(std::vector<std::u16string>{});
  std::sort(names.begin(), names.end());
  return names;
}

// A dangling link shows on Windows like any entry; under Wine nowhere.
bool FakeFileSystem::Listed(const std::u16string& stored) const {
  const auto it = entries_.find(stored);
  return it->second.linkTo.empty() || KindOf(stored) == Kind::Windows || Followed(stored);
}

std::vector<std::u16string> FakeFileSystem::ChildNames(const std::u16string& folder) const {
  // The children and everything below them sort between "folder\" and "folder]".
  std::vector<std::u16string> names;
  const std::u16string prefix = folder + u"\\";
  for (auto it = entries_.lower_bound(prefix); it != entries_.end() && it->first.starts_with(prefix); ++it)
    if (it->first.find(u'\\', prefix.size()) == std::u16string::npos) names.push_back(it->first.substr(prefix.size()));
  return names;
}

void FakeFileSystem::Add(std::u16string_view path, Entry entry) {
  const std::u16string normal = Normal(path), parent = Parent(normal);
  if (parent.empty()) return;
  if (!Resolve(parent)) Add(parent, Folder());
  const auto resolved = Resolve(parent);
  const auto folder = resolved ? Followed(*resolved) : std::nullopt;
  if (!folder) return;  // no such drive
  const std::u16string stored = *folder + normal.substr(parent.size());
  if (KindOf(stored) == Kind::Windows) Remove(stored);  // one spelling per name
  entry.id = ++lastId_;
  entries_[stored] = std::move(entry);
}

bool FakeFileSystem::Remove(std::u16string_view path) {
  const auto stored = Resolve(path, true);
  if (!stored || Parent(*stored).empty()) return false;
  std::erase_if(entries_, [&](const auto& item) { return item.first == *stored || item.first.starts_with(*stored + u"\\"); });
  return true;
}

void FakeFileSystem::AddDirectory(const std::u16string& path) {
  if (!Resolve(path)) Add(path, Folder());
}

void FakeFileSystem::AddFile(const std::u16string& path, std::string content) {
  Add(path, Entry{false, false, false, std::move(content), 0, {}});
}

void FakeFileSystem::AddLink(const std::u16string& path, const std::u16string& target) {
  Add(path, Entry{false, false, false, {}, 0, Normal(target)});
}

FakeFileSystem::Entry* FakeFileSystem::Find(std::u16string_view path) {
  const auto stored = Resolve(path);
  return stored ? &entries_.at(*stored) : nullptr;
}

std::u16string FakeFileSystem::ActualPath(std::u16string_view path) const {
  const auto stored = Resolve(path);
  return !stored ? u"" : Parent(*stored).empty() ? *stored + u"\\" : *stored;
}

NameHolder FakeFileSystem::Holder(std::u16string_view path) {
  if (const auto stored = Resolve(path)) {
    const bool asked = stored->substr(Parent(*stored).size() + 1) == Normal(path).substr(Parent(Normal(path)).size() + 1);
    return asked && entries_.at(*stored).linkTo.empty() ? NameHolder::Entry : NameHolder::Link;
  }
  return Resolve(path, true) ? NameHolder::Unlisted : NameHolder::Nothing;
}

class FakeOpenedEntry final : public OpenedEntry {
 public:
  FakeOpenedEntry(FakeFileSystem& files, std::uint64_t id, std::u16string path)
      : files_(files), id_(id), path_(std::move(path)) {}
  bool MoveTo(std::u16string_view path) override { return Move(path, FakeFileSystem::Way::ThroughPlaceholder); }
  bool MoveToParkedName(std::u16string_view path) override { return Move(path, FakeFileSystem::Way::Plain); }

 private:
  bool Move(std::u16string_view path, FakeFileSystem::Way way) {
    if (!files_.MoveEntry(id_, path_, path, way)) return false;
    path_ = path;
    return true;
  }

  FakeFileSystem& files_;
  std::uint64_t id_;
  std::u16string path_;
};

std::unique_ptr<OpenedEntry> FakeFileSystem::Open(std::u16string_view path) {
  if (Holder(path) != NameHolder::Entry) return nullptr;
  return std::make_unique<FakeOpenedEntry>(*this, entries_.at(*Resolve(path)).id, std::u16string(path));
}

bool FakeFileSystem::ClearPlaceholder(std::u16string_view path) {
  const auto stored = Resolve(path);
  if (!stored || !entries_.at(*stored).placeholder) return false;
  entries_.erase(*stored);
  return true;
}

bool FakeFileSystem::MoveEntry(std::uint64_t id, const std::u16string& from, std::u16string_view to, Way way) {
  moves.emplace_back(from, std::u16string(to));
  if (onMove) onMove();
  for (const auto& refused : refusedMoves)
    if (SameIgnoringCase(Normal(refused), Normal(from))) return false;
  const auto entry = std::find_if(entries_.begin(), entries_.end(), [&](const auto& item) { return item.second.id == id; });
  if (entry == entries_.end()) return false;  // gone meanwhile
  const std::u16string source = entry->first, target = Normal(to);
  const auto parent = Resolve(Parent(target));
  const auto folder = parent ? Followed(*parent) : std::nullopt;
  if (!folder || *folder != Parent(source)) return false;  // another name in its own folder only
  const std::u16string name = target.substr(Parent(target).size() + 1);
  if (const auto existing = Child(*folder, name, false)) {
    if (*existing != source) return false;  // another entry: never replaced
    // The entry itself: a change of letter case only, which Wine on Linux reports as done and does not do.
    if (KindOf(source) == Kind::WineOnLinux) return true;
  } else if (const auto dangling = Child(*folder, name, true)) {
    // A dangling link: a folder is refused, a file's placeholder too; a
    // plain rename replaces it.
    if (way == Way::ThroughPlaceholder || entry->second.directory) return false;
    entries_.erase(*dangling);
  }
  const std::u16string moved = *folder + u"\\" + name;
  if (way == Way::ThroughPlaceholder && !entry->second.directory && !SameIgnoringCase(SplitName(source), name)) {
    entries_[moved] = Entry{false, false, false, {}, ++lastId_, {}, true};
    if (onMove) onMove();
    entries_.erase(moved);
  }
  std::map<std::u16string, Entry> tree;
  for (auto it = entries_.begin(); it != entries_.end();) {
    if (it->first == source || it->first.starts_with(source + u"\\")) {
      tree[moved + it->first.substr(source.size())] = std::move(it->second);
      it = entries_.erase(it);
    } else {
      ++it;
    }
  }
  entries_.merge(tree);
  return true;
}

std::optional<std::u16string> FakeFileSystem::StoredName(std::u16string_view path) {
  const auto stored = Resolve(path);
  if (!stored) return std::nullopt;
  return stored->substr(Parent(*stored).size() + !Parent(*stored).empty());
}

std::optional<std::vector<std::u16string>> FakeFileSystem::Names(std::u16string_view folderPath) {
  const auto resolved = Resolve(folderPath);
  const auto folder = resolved ? Followed(*resolved) : std::nullopt;
  if (!folder || !entries_.at(*folder).directory) return std::nullopt;
  for (const auto& bad : unreadableFolders)
    if (Resolve(bad) == folder) return std::nullopt;
  std::vector<std::u16string> names;
  for (std::u16string& name : ChildNames(*folder))
    if (Listed(*folder + u"\\" + name)) names.push_back(std::move(name));
  return names;
}

std::optional<std::vector<std::u16string>> FakeFileSystem::Enumerate(std::u16string_view folderPath,
                                                                     std::uint16_t attributes) {
  const auto all = Names(folderPath);
  if (!all) return std::nullopt;
  const std::u16string folder = *Followed(*Resolve(folderPath));
  std::vector<std::u16string> names{u".", u".."};
  for (const std::u16string& name : *all) {
    const Entry& entry = entries_.at(folder + u"\\" + name);
    const bool directory = DirectoryExists(folder + u"\\" + name);
    if (!entry.hidden && !entry.system && (!directory || (attributes & kAttrDirectory))) names.push_back(name);
  }
  return names;
}

std::vector<std::u16string> FakeFileSystem::Drives() { return drives; }

bool FakeFileSystem::DriveReady(std::u16string_view drive) {
  return std::none_of(unreadableDrives.begin(), unreadableDrives.end(),
                      [&](const auto& bad) { return SameIgnoringCase(bad, drive); });
}

bool FakeFileSystem::DirectoryExists(std::u16string_view path) {
  const auto stored = Resolve(path);
  const auto followed = stored ? Followed(*stored) : std::nullopt;
  return followed && entries_.at(*followed).directory;
}

std::vector<std::u16string> FakeFileSystem::Subdirectories(std::u16string_view path) {
  std::vector<std::u16string> names;
  const auto resolved = Resolve(path);
  const auto folder = resolved ? Followed(*resolved) : std::nullopt;
  for (const std::u16string& name : folder ? ChildNames(*folder) : names) {
    const Entry& entry = entries_.at(*folder + u"\\" + name);
    if (entry.directory && entry.linkTo.empty() && !entry.hidden && !entry.system) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::u16string FakeFileSystem::CurrentDirectoryOf(std::u16string_view drive) {
  return std::u16string(drive.substr(0, 2)) + u"\\";
}

}  // namespace zefta::testing
