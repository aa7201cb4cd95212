// Test doubles of the platform services.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "controls/form.h"
#include "fake_file_system.h"
#include "forms/window_services.h"

namespace zefta::testing {

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
  bool Append(std::string_view text) override;
  bool Rename(JournalFile from, JournalFile to) override;
  void Remove(JournalFile file) override { files.erase(file); }
  std::u16string PathOf(JournalFile file) override { return u"journal-" + std::u16string(1, u'0' + static_cast<int>(file)); }

  std::map<JournalFile, std::string> files;
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
