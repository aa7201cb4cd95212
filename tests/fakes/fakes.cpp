#include "fakes.h"

#include <algorithm>

#include "services/case_mapping.h"
#include "modules/name_rule.h"

namespace zefta::testing {

namespace {

std::u16string Key(std::u16string_view path) {
  std::u16string key = MapCase(path, CaseDirection::Upper);
  while (key.size() > 3 && key.back() == u'\\') key.pop_back();
  return key;
}

std::u16string Parent(std::u16string_view path) {
  const PathParts parts = SplitPath(path);
  std::u16string folder(parts.folder);
  if (folder.size() > 3 && folder.back() == u'\\') folder.pop_back();
  return folder;
}

}  // namespace

FakeFileSystem::FakeFileSystem() {
  for (const auto& drive : drives) AddDirectory(drive + u"\\");
}

void FakeFileSystem::AddDirectory(const std::u16string& path) {
  const std::u16string key = Key(path);
  if (entries_.count(key)) return;
  if (key.size() > 3) AddDirectory(Parent(path));
  std::u16string stored(path);
  while (stored.size() > 3 && stored.back() == u'\\') stored.pop_back();
  entries_[key] = {stored, Entry{true, false, false, {}}};
}

void FakeFileSystem::AddFile(const std::u16string& path, std::string content) {
  AddDirectory(Parent(path));
  entries_[Key(path)] = {path, Entry{false, false, false, std::move(content)}};
}

FakeFileSystem::Entry* FakeFileSystem::Find(std::u16string_view path) {
  auto it = entries_.find(Key(path));
  return it == entries_.end() ? nullptr : &it->second.second;
}

std::u16string FakeFileSystem::ActualPath(std::u16string_view path) const {
  auto it = entries_.find(Key(path));
  return it == entries_.end() ? std::u16string() : it->second.first;
}

std::vector<std::u16string> FakeFileSystem::AllPaths() const {
  std::vector<std::u16string> paths;
  for (const auto& [key, value] : entries_) paths.push_back(value.first);
  return paths;
}

std::optional<std::vector<std::u16string>> FakeFileSystem::Enumerate(std::u16string_view folderPath,
                                                                     std::uint16_t attributes) {
  const std::u16string folderKey = Key(folderPath);
  auto folder = entries_.find(folderKey);
  if (folder == entries_.end() || !folder->second.second.directory) return std::nullopt;
  for (const auto& bad : unreadableFolders)
    if (Key(bad) == folderKey) return std::nullopt;
  std::vector<std::u16string> names{u".", u".."};
  for (const auto& [key, value] : entries_) {
    if (key.size() <= 3 || Key(Parent(value.first)) != folderKey) continue;
    const Entry& entry = value.second;
    if (entry.hidden || entry.system) continue;
    if (entry.directory && !(attributes & kAttrDirectory)) continue;
    names.push_back(std::u16string(SplitPath(value.first).name));
  }
  return names;
}

bool FakeFileSystem::Rename(std::u16string_view oldPath, std::u16string_view newPath) {
  renameCalls.emplace_back(std::u16string(oldPath), std::u16string(newPath));
  if (onRename) onRename();
  for (const auto& refused : refusedRenames)
    if (Key(refused) == Key(oldPath)) return false;
  const std::u16string oldKey = Key(oldPath);
  const std::u16string newKey = Key(newPath);
  auto it = entries_.find(oldKey);
  if (it == entries_.end()) return false;
  if (oldKey != newKey && entries_.count(newKey)) return false;
  // Move the entry and everything below it.
  std::vector<std::pair<std::u16string, std::pair<std::u16string, Entry>>> moved;
  for (auto e = entries_.begin(); e != entries_.end();) {
    if (e->first == oldKey || e->first.rfind(oldKey + u"\\", 0) == 0) {
      // Keys and stored paths have the same length: the rest keeps its spelling.
      const std::u16string rest = e->second.first.substr(oldKey.size());
      moved.push_back({Key(std::u16string(newPath) + rest), {std::u16string(newPath) + rest, e->second.second}});
      e = entries_.erase(e);
    } else {
      ++e;
    }
  }
  for (auto& m : moved) entries_[m.first] = m.second;
  return true;
}

std::vector<std::u16string> FakeFileSystem::Drives() { return drives; }

bool FakeFileSystem::DriveReady(std::u16string_view drive) {
  for (const auto& bad : unreadableDrives)
    if (Key(bad) == Key(drive)) return false;
  return true;
}

bool FakeFileSystem::DirectoryExists(std::u16string_view path) {
  Entry* entry = Find(path);
  return entry && entry->directory;
}

std::vector<std::u16string> FakeFileSystem::Subdirectories(std::u16string_view path) {
  std::vector<std::u16string> names;
  const std::u16string folderKey = Key(path);
  for (const auto& [key, value] : entries_) {
    if (key.size() <= 3 || !value.second.directory || value.second.hidden || value.second.system) continue;
    if (Key(Parent(value.first)) == folderKey) names.push_back(std::u16string(SplitPath(value.first).name));
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

std::string FakeCodePage::ToAnsi(std::u16string_view text) {
  std::string bytes;
  for (char16_t c : text) bytes += c < 0x100 ? static_cast<char>(c) : '?';
  return bytes;
}

std::u16string FakeCodePage::FromAnsi(std::string_view bytes) {
  std::u16string text;
  for (char c : bytes) text += static_cast<char16_t>(static_cast<unsigned char>(c));
  return text;
}

void FakeDesktop::DoEvents() {
  ++doEventsCalls;
  if (events.empty()) return;
  auto next = std::move(events.front());
  events.pop_front();
  if (next) next();
}

}  // namespace zefta::testing
