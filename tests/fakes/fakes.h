// Test doubles of the platform services.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "controls/form.h"
#include "forms/window_services.h"

namespace zefta::testing {

// An in-memory file system. Paths are looked up one part at a time, as Wine
// does: the exactly spelled child first, else one whose name differs in
// letter case only; a link on the way is followed. Every name is taken as
// stored: "NOTES." and "NOTES" are two names. Kind Windows keeps one spelling
// per name and changes it on a move that changes letter case only. Kind
// WineOnLinux lets names that differ only in letter case stand side by side,
// reports such a move as done while keeping the old spelling, and hides a
// dangling link from every listing and lookup. An opened entry moves as the
// real one does: onto no name that anything holds, a dangling link included,
// and a file through a placeholder at its new name (a cut between the two
// leaves it there). Paths use "\"; drives are "c:" and so on.
class FakeFileSystem : public FileSystem {
 public:
  enum class Kind { Windows, WineOnLinux };
  struct Entry {
    bool directory = false, hidden = false, system = false;
    std::string content;
    std::uint64_t id = 0;  // given at creation, kept by every move
    std::u16string linkTo;  // the full path a link leads to; empty for other entries
    bool placeholder = false;  // made by a move to its name, which a cut left there
  };

  explicit FakeFileSystem(Kind kind = Kind::Windows);

  // Adds an entry (and its missing parent folders) under its full path. On
  // Windows an entry of the same name in another spelling takes the new one.
  void AddFile(const std::u16string& path, std::string content = {});
  void AddDirectory(const std::u16string& path);
  // A link at path that leads to target (which need not exist).
  void AddLink(const std::u16string& path, const std::u16string& target);
  // Removes the entry (a link itself, not what it leads to) with everything
  // below it; false when there is none.
  bool Remove(std::u16string_view path);
  // The entry path names (a link itself), or null.
  Entry* Find(std::u16string_view path);
  // The stored spelling of the entry that path names, or empty.
  std::u16string ActualPath(std::u16string_view path) const;
  // Every name in the folder, dangling links included; the listed ones sorted.
  std::vector<std::u16string> AllNames(std::u16string_view folderPath) const;
  std::vector<std::u16string> SortedNames(std::u16string_view folderPath);
  // Whether the entry stored under exactly this spelling is a link.
  bool IsLinkSpelled(std::u16string_view path) const;

  Kind kind;
  // Drives that behave like Wine on a Linux folder whatever the kind.
  std::set<std::u16string> linuxDrives;
  // Moves from these paths (compared without regard to case) fail.
  std::set<std::u16string> refusedMoves;
  std::set<std::u16string> unreadableDrives;
  std::set<std::u16string> unreadableFolders;
  // Every move asked for, as (from, to): the paths the mover gave.
  std::vector<std::pair<std::u16string, std::u16string>> moves;
  // Runs before each move takes effect, and again between a file's
  // placeholder and the move onto it.
  std::function<void()> onMove;
  std::vector<std::u16string> drives{u"c:", u"d:"};

  NameHolder Holder(std::u16string_view path);
  std::unique_ptr<OpenedEntry> Open(std::u16string_view path) override;
  bool ClearPlaceholder(std::u16string_view path) override;
  std::optional<std::u16string> StoredName(std::u16string_view path) override;
  std::optional<std::vector<std::u16string>> Names(std::u16string_view folderPath) override;
  std::optional<std::vector<std::u16string>> Enumerate(std::u16string_view folderPath,
                                                       std::uint16_t attributes) override;
  std::vector<std::u16string> Drives() override;
  bool DriveReady(std::u16string_view drive) override;
  bool DirectoryExists(std::u16string_view path) override;
  std::vector<std::u16string> Subdirectories(std::u16string_view path) override;
  std::u16string CurrentDirectoryOf(std::u16string_view drive) override;

 private:
  friend class FakeOpenedEntry;
  bool MoveEntry(std::uint64_t id, const std::u16string& from, std::u16string_view to);
  // The stored path of what path names, its last part not followed when it
  // is a link; nullopt when nothing does. With unlisted, a dangling link
  // counts as well.
  std::optional<std::u16string> Resolve(std::u16string_view path, bool unlisted = false) const;
  std::optional<std::u16string> ResolveAt(std::u16string_view path, bool unlisted, int depth, bool exact) const;
  // The stored path of the child of folder called name (see Resolve).
  std::optional<std::u16string> Child(const std::u16string& folder, std::u16string_view name, bool unlisted) const;
  // Where a stored entry leads: itself, or what its links lead to.
  std::optional<std::u16string> Followed(const std::u16string& stored, int depth = 0) const;
  bool Listed(const std::u16string& stored) const;
  std::vector<std::u16string> ChildNames(const std::u16string& folder) const;
  void Add(std::u16string_view path, Entry entry);
  Kind KindOf(const std::u16string& path) const {
    return linuxDrives.count(path.substr(0, 2)) ? Kind::WineOnLinux : kind;
  }

  // Keyed by the stored path without a trailing separator; roots are "c:".
  std::map<std::u16string, Entry> entries_;
  std::uint64_t lastId_ = 0;
};

struct ShownMessage {
  std::u16string text, title;
  MessageIcon icon;
};

class MessageRecorder : public MessageBoxes {
 public:
  void Show(WindowHandle, std::u16string_view text, std::u16string_view title, MessageIcon icon) override {
    shown.push_back({std::u16string(text), std::u16string(title), icon});
  }
  std::vector<ShownMessage> shown;
};

// Values keyed "ZEFTA\SYSTEM\DRV" and so on.
class MemorySettings : public SettingsStore {
 public:
  std::u16string Get(std::u16string_view app, std::u16string_view section, std::u16string_view key,
                     std::u16string_view defaultValue) override;
  void Set(std::u16string_view app, std::u16string_view section, std::u16string_view key,
           std::u16string_view value) override;
  bool DeleteSection(std::u16string_view app, std::u16string_view section) override;

  std::map<std::u16string, std::u16string> values;
  std::vector<std::u16string> writes;  // keys in the order written
};

class FakeEnvironment : public Environment {
 public:
  std::optional<std::u16string> Variable(std::u16string_view name) override {
    const auto it = variables.find(std::u16string(name));
    return it == variables.end() ? std::nullopt : std::optional(it->second);
  }
  std::u16string CommandLineArguments() override { return arguments; }
  std::map<std::u16string, std::u16string> variables;
  std::u16string arguments;
};

// Each DoEvents runs the next scripted event, if any.
class FakeDesktop : public Desktop {
 public:
  void DoEvents() override;
  // Every look at the clock finds it a tick further on.
  std::uint64_t Milliseconds() override { return milliseconds += tick; }
  void BringToFront(WindowHandle) override {}
  void Beep() override { ++beeps; }
  void SetPointer(WindowHandle, Pointer p) override { pointers.push_back(pointer = p); }
  WindowHandle FindWindowByTitle(std::u16string_view title) override {
    return openTitles.count(std::u16string(title)) ? 99 : 0;
  }
  void EndProgram() override { ended = true; }

  std::deque<std::function<void()>> events;
  std::uint64_t milliseconds = 0, tick = 0;
  int beeps = 0;
  bool ended = false;
  Pointer pointer = Pointer::Default;
  std::vector<Pointer> pointers;
  std::set<std::u16string> openTitles;
};

// Shows a window by running its Load, then onShown while it is open.
class FakeWindowHost : public WindowHost {
 public:
  void ShowModal(Form& form, Form&) override {
    ++shown;
    bool unloaded = false;
    auto saved = form.onUnload;
    form.onUnload = [&] { unloaded = true; };
    form.Load();
    if (onShown) onShown(form);
    lastUnloaded = unloaded;
    form.onUnload = saved;
  }
  // Shows the progress window at the second question (by then half a
  // second has passed), onWait before each one.
  bool WaitFor(Form& progress, Form&, const std::function<bool()>& working) override {
    bool closed = false;
    auto saved = progress.onUnload;
    progress.onUnload = [&] { closed = true; };
    int asked = 0;
    while (!closed) {
      if (onWait) onWait(progress);
      if (closed || !working()) break;
      if (++asked == 2) progress.Load();
    }
    progress.onUnload = saved;
    return !closed;
  }
  int ScreenWidth() override { return 15360; }
  int ScreenHeight() override { return 11520; }
  int shown = 0;
  bool lastUnloaded = false;
  std::function<void(Form&)> onShown;
  std::function<void(Form&)> onWait;
};

class FakeFolderPicker : public FolderPicker {
 public:
  std::u16string Browse(WindowHandle, std::u16string_view title) override {
    titles.emplace_back(title);
    return result;
  }
  std::u16string result;
  std::vector<std::u16string> titles;
};

// Lists the fake file system's trees at once, as the real lister would in
// the end: every name as stored, depth-first pre-order, links not entered.
class FakeTreeLister : public TreeLister {
 public:
  explicit FakeTreeLister(FakeFileSystem& files) : files_(files) {}
  std::unique_ptr<TreeListing> Start(std::u16string_view top, bool folders) override;

  std::vector<std::pair<std::u16string, bool>> calls;  // (top, folders)
  int questions = 0;  // how often Finished says no before it says yes
  bool cancelled = false;

 private:
  FakeFileSystem& files_;
};

// The journal's files in memory. Flushed holds what a flush has put on the
// disk of the run under way, which is all a power cut would leave.
class FakeJournalStorage : public JournalStorage {
 public:
  bool Claim() override { return true; }
  WholeFile Read(JournalFile file) override;
  bool Create(std::string_view text) override;
  bool Append(std::string_view text, Durability durability) override;
  bool Rename(JournalFile from, JournalFile to) override;
  void Remove(JournalFile file) override { files.erase(file); }
  std::u16string PathOf(JournalFile file) override { return u"journal-" + std::u16string(1, u'0' + static_cast<int>(file)); }

  std::map<JournalFile, std::string> files;
  std::string flushed;
  bool failWrites = false;  // as a full disk
  bool failReads = false;   // as a bad sector
};

// Every fake at once, wired into a Services value.
struct FakePlatform {
  FakeFileSystem files;
  MessageRecorder messages;
  MemorySettings settings;
  FakeEnvironment environment;
  FakeDesktop desktop;
  FakeFolderPicker folderPicker;
  FakeTreeLister treeLister{files};
  FakeWindowHost windows;
  FakeJournalStorage journal;
  Services services{files, messages, settings, environment, desktop, folderPicker, treeLister, windows, journal};
};

}  // namespace zefta::testing
