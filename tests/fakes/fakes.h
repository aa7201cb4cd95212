// Test doubles of the platform services.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/services.h"

namespace zefta::testing {

// An in-memory file system that resolves names without regard to letter
// case, as the target machines do. Paths use "\"; drives are "c:" and so on.
class FakeFileSystem : public FileSystem {
 public:
  struct Entry {
    bool directory = false;
    bool hidden = false;
    bool system = false;
    std::string content;
  };

  FakeFileSystem();

  // Adds an entry (and its missing parent folders) under its full path.
  void AddFile(const std::u16string& path, std::string content = {});
  void AddDirectory(const std::u16string& path);
  Entry* Find(std::u16string_view path);
  // The stored spelling of the entry that path names, or empty.
  std::u16string ActualPath(std::u16string_view path) const;
  // Every stored path, spelled as stored.
  std::vector<std::u16string> AllPaths() const;

  // Renames whose old path (compared without regard to case) is here fail.
  std::set<std::u16string> refusedRenames;
  std::set<std::u16string> unreadableDrives;
  std::set<std::u16string> unreadableFolders;
  std::vector<std::pair<std::u16string, std::u16string>> renameCalls;
  std::function<void()> onRename;  // runs before each rename takes effect

  std::optional<std::vector<std::u16string>> Enumerate(std::u16string_view folderPath,
                                                       std::uint16_t attributes) override;
  bool Rename(std::u16string_view oldPath, std::u16string_view newPath) override;
  std::vector<std::u16string> Drives() override;
  bool DriveReady(std::u16string_view drive) override;
  bool DirectoryExists(std::u16string_view path) override;
  std::vector<std::u16string> Subdirectories(std::u16string_view path) override;
  std::u16string CurrentDirectoryOf(std::u16string_view drive) override;

  std::vector<std::u16string> drives{u"c:", u"d:"};

 private:
  // Keyed by the upper-cased path; value holds the stored spelling.
  std::map<std::u16string, std::pair<std::u16string, Entry>> entries_;
};

struct ShownMessage {
  WindowHandle owner;
  std::u16string text;
  std::u16string title;
  MessageIcon icon;
};

class MessageRecorder : public MessageBoxes {
 public:
  void Show(WindowHandle owner, std::u16string_view text, std::u16string_view title, MessageIcon icon) override {
    shown.push_back({owner, std::u16string(text), std::u16string(title), icon});
    if (onShow) onShow();
  }
  std::vector<ShownMessage> shown;
  std::function<void()> onShow;
};

class MemorySettings : public SettingsStore {
 public:
  std::u16string Get(std::u16string_view app, std::u16string_view section, std::u16string_view key,
                     std::u16string_view defaultValue) override;
  void Set(std::u16string_view app, std::u16string_view section, std::u16string_view key,
           std::u16string_view value) override;
  bool DeleteSection(std::u16string_view app, std::u16string_view section) override;

  // "ZEFTA\SYSTEM\DRV" style keys.
  std::map<std::u16string, std::u16string> values;
  std::vector<std::u16string> writes;  // keys in the order written
  int deletions = 0;
};

class FakeEnvironment : public Environment {
 public:
  std::optional<std::u16string> Variable(std::u16string_view name) override {
    auto it = variables.find(std::u16string(name));
    if (it == variables.end()) return std::nullopt;
    return it->second;
  }
  std::u16string CommandLineArguments() override { return arguments; }
  std::map<std::u16string, std::u16string> variables;
  std::u16string arguments;
};

// Records the calls; DoEvents runs the scripted events queued for it.
class FakeDesktop : public Desktop {
 public:
  void DoEvents() override;
  void BringToFront(WindowHandle window) override { log.push_back(u"front"); fronted.push_back(window); }
  void Beep() override { log.push_back(u"beep"); ++beeps; }
  void SetPointer(WindowHandle, Pointer p) override { pointer = p; pointerHistory.push_back(p); }
  WindowHandle FindWindowByTitle(std::u16string_view title) override {
    return openTitles.count(std::u16string(title)) ? 99 : 0;
  }
  void EndProgram() override { ended = true; }

  // Each DoEvents call takes the next scripted action, if any.
  std::deque<std::function<void()>> events;
  int doEventsCalls = 0;
  int beeps = 0;
  bool ended = false;
  Pointer pointer = Pointer::Default;
  std::vector<Pointer> pointerHistory;
  std::vector<WindowHandle> fronted;
  std::vector<std::u16string> log;
  std::set<std::u16string> openTitles;
};

}  // namespace zefta::testing
