#include "fakes.h"

#include <algorithm>

#include "services/case_mapping.h"

namespace zefta::testing {

namespace {

std::u16string Upper(std::u16string_view text) { return MapCase(text, CaseDirection::Upper); }
bool SameIgnoringCase(std::u16string_view a, std::u16string_view b) { return Upper(a) == Upper(b); }

// "c:\a\b\" as {"c:", "a", "b"}; "/" counts as a separator too.
std::vector<std::u16string> Components(std::u16string_view path) {
  std::vector<std::u16string> parts;
  std::u16string part;
  for (char16_t c : path) {
    if (c == u'\\' || c == u'/') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

std::u16string Joined(const std::vector<std::u16string>& parts) {
  std::u16string path;
  for (const auto& part : parts) path += (path.empty() ? u"" : u"\\") + part;
  return path;
}

std::u16string NameOf(const std::u16string& path) {
  const std::size_t sep = path.rfind(u'\\');
  return sep == std::u16string::npos ? path : path.substr(sep + 1);
}

}  // namespace

FakeFileSystem::FakeFileSystem(Kind k) : kind(k) {
  for (const auto& drive : drives) entries_[drive] = Entry{true, false, false, {}, ++lastId_};
}

std::optional<std::u16string> FakeFileSystem::Child(const std::u16string& folder, std::u16string_view name) const {
  const std::u16string exact = folder + u"\\" + std::u16string(name);
  if (entries_.count(exact)) return exact;
  for (const std::u16string& child : ChildNames(folder))
    if (SameIgnoringCase(child, name)) return folder + u"\\" + child;
  return std::nullopt;
}

std::vector<std::u16string> FakeFileSystem::ChildNames(const std::u16string& folder) const {
  // The children and everything below them sort between "folder\" and "folder]".
  std::vector<std::u16string> names;
  const std::u16string prefix = folder + u"\\";
  for (auto it = entries_.lower_bound(prefix); it != entries_.end() && it->first.starts_with(prefix); ++it)
    if (it->first.find(u'\\', prefix.size()) == std::u16string::npos) names.push_back(it->first.substr(prefix.size()));
  return names;
}

std::optional<std::u16string> FakeFileSystem::Resolve(std::u16string_view path) const {
  const std::vector<std::u16string> parts = Components(path);
  if (parts.empty()) return std::nullopt;
  std::optional<std::u16string> at;
  for (const auto& drive : drives)
    if (SameIgnoringCase(drive, parts[0]) && entries_.count(drive)) at = drive;
  for (std::size_t i = 1; at && i < parts.size(); ++i) at = Child(*at, parts[i]);
  return at;
}

void FakeFileSystem::Add(const std::u16string& path, Entry entry) {
  const std::vector<std::u16string> parts = Components(path);
  if (parts.size() < 2) return;
  std::u16string folder = *Resolve(parts[0]);
  for (std::size_t i = 1; i + 1 < parts.size(); ++i) {
    if (auto child = Child(folder, parts[i])) {
      folder = *child;
    } else {
      folder += u"\\" + parts[i];
      entries_[folder] = Entry{true, false, false, {}, ++lastId_};
    }
  }
  const std::u16string& name = parts.back();
  if (KindOf(folder) == Kind::Windows)
    if (auto same = Child(folder, name)) entries_.erase(*same);
  entry.id = ++lastId_;
  entries_[folder + u"\\" + name] = std::move(entry);
}

bool FakeFileSystem::Remove(std::u16string_view path) {
  const auto stored = Resolve(path);
  if (!stored || stored->find(u'\\') == std::u16string::npos) return false;
  std::erase_if(entries_, [&](const auto& item) {
    return item.first == *stored || item.first.starts_with(*stored + u"\\");
  });
  return true;
}

void FakeFileSystem::AddDirectory(const std::u16string& path) {
  if (!Resolve(path)) Add(path, Entry{true, false, false, {}});
}

void FakeFileSystem::AddFile(const std::u16string& path, std::string content) {
  Add(path, Entry{false, false, false, std::move(content)});
}

FakeFileSystem::Entry* FakeFileSystem::Find(std::u16string_view path) {
  const auto stored = Resolve(path);
  return stored ? &entries_.at(*stored) : nullptr;
}

std::u16string FakeFileSystem::ActualPath(std::u16string_view path) const {
  const auto stored = Resolve(path);
  if (!stored) return {};
  return stored->find(u'\\') == std::u16string::npos ? *stored + u"\\" : *stored;
}

void FakeFileSystem::MoveTree(const std::u16string& from, const std::u16string& to) {
  Entries moved;
  for (auto it = entries_.begin(); it != entries_.end();) {
    if (it->first == from || it->first.starts_with(from + u"\\")) {
      moved[to + it->first.substr(from.size())] = std::move(it->second);
      it = entries_.erase(it);
    } else {
      ++it;
    }
  }
  entries_.merge(moved);
}

bool FakeFileSystem::Move(std::u16string_view from, std::u16string_view to) {
  moves.emplace_back(std::u16string(from), std::u16string(to));
  if (onMove) onMove();
  for (const auto& refused : refusedMoves)
    if (SameIgnoringCase(Joined(Components(refused)), Joined(Components(from)))) return false;
  const auto source = Resolve(from);
  const std::vector<std::u16string> target = Components(to);
  if (!source || source->find(u'\\') == std::u16string::npos || target.size() < 2) return false;
  const auto folder = Resolve(Joined({target.begin(), target.end() - 1}));
  if (!folder || !entries_.at(*folder).directory) return false;
  const std::u16string& name = target.back();
  // Never into itself.
  if (folder->starts_with(*source + u"\\") || *folder == *source) return false;
  if (const auto existing = Child(*folder, name)) {
    if (*existing != *source) return false;  // another entry: never replaced
    if (NameOf(*existing) == name) return true;
    // The entry itself under another spelling: a change of letter case only.
    if (KindOf(*source) == Kind::WineOnLinux) return true;
  }
  MoveTree(*source, *folder + u"\\" + name);
  return true;
}

std::optional<std::u16string> FakeFileSystem::StoredName(std::u16string_view path) {
  const auto stored = Resolve(path);
  if (!stored) return std::nullopt;
  return NameOf(*stored);
}

std::optional<std::vector<std::u16string>> FakeFileSystem::Names(std::u16string_view folderPath) {
  const auto folder = Resolve(folderPath);
  if (!folder || !entries_.at(*folder).directory) return std::nullopt;
  for (const auto& bad : unreadableFolders)
    if (Resolve(bad) == folder) return std::nullopt;
  return ChildNames(*folder);
}

std::optional<std::vector<std::u16string>> FakeFileSystem::Enumerate(std::u16string_view folderPath,
                                                                     std::uint16_t attributes) {
  const auto all = Names(folderPath);
  if (!all) return std::nullopt;
  const std::u16string folder = *Resolve(folderPath);
  std::vector<std::u16string> names{u".", u".."};
  for (const std::u16string& name : *all) {
    const Entry& entry = entries_.at(folder + u"\\" + name);
    if (entry.hidden || entry.system) continue;
    if (entry.directory && !(attributes & kAttrDirectory)) continue;
    names.push_back(name);
  }
  return names;
}

std::vector<std::u16string> FakeFileSystem::Drives() { return drives; }

bool FakeFileSystem::DriveReady(std::u16string_view drive) {
  for (const auto& bad : unreadableDrives)
    if (SameIgnoringCase(bad, drive)) return false;
  return true;
}

bool FakeFileSystem::DirectoryExists(std::u16string_view path) {
  Entry* entry = Find(path);
  return entry && entry->directory;
}

std::vector<std::u16string> FakeFileSystem::Subdirectories(std::u16string_view path) {
  std::vector<std::u16string> names;
  const auto folder = Resolve(path);
  if (!folder) return names;
  for (const std::u16string& name : ChildNames(*folder)) {
    const Entry& entry = entries_.at(*folder + u"\\" + name);
    if (entry.directory && !entry.hidden && !entry.system) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::u16string FakeFileSystem::CurrentDirectoryOf(std::u16string_view drive) {
  return std::u16string(drive.substr(0, 2)) + u"\\";
}

std::u16string MemorySettings::Get(std::u16string_view app, std::u16string_view section, std::u16string_view key,
                                   std::u16string_view defaultValue) {
  auto it = values.find(std::u16string(app) + u"\\" + std::u16string(section) + u"\\" + std::u16string(key));
  return it == values.end() ? std::u16string(defaultValue) : it->second;
}

void MemorySettings::Set(std::u16string_view app, std::u16string_view section, std::u16string_view key,
                         std::u16string_view value) {
  const std::u16string full = std::u16string(app) + u"\\" + std::u16string(section) + u"\\" + std::u16string(key);
  values[full] = std::u16string(value);
  writes.push_back(std::u16string(key));
}

bool MemorySettings::DeleteSection(std::u16string_view app, std::u16string_view section) {
  ++deletions;
  const std::u16string prefix = std::u16string(app) + u"\\" + std::u16string(section) + u"\\";
  bool any = false;
  for (auto it = values.begin(); it != values.end();) {
    if (it->first.rfind(prefix, 0) == 0) {
      it = values.erase(it);
      any = true;
    } else {
      ++it;
    }
  }
  return any;
}

void FakeDesktop::DoEvents() {
  ++doEventsCalls;
  if (events.empty()) return;
  auto next = std::move(events.front());
  events.pop_front();
  if (next) next();
}

}  // namespace zefta::testing
