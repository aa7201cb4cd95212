// Shared pieces of the conversion benchmarks: a clock, the real services with
// a message recorder in place of message boxes, and a message pump.
#pragma once

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "fakes.h"
#include "platform/win32/window/form_window.h"
#include "platform/win32/window/window_host_win32.h"
#include "platform/win32/services/services_win32.h"
#include "platform/win32/window/message_loop.h"
#include "platform/win32/support/text.h"

namespace zefta::bench {

inline double Seconds() {
  static const LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Forwards to the real desktop and adds up the time spent in DoEvents.
class TimedDesktop final : public Desktop {
 public:
  void DoEvents() override {
    const double start = Seconds();
    real.DoEvents();
    doEventsSeconds += Seconds() - start;
    ++doEventsCalls;
  }
  std::uint64_t Milliseconds() override { return real.Milliseconds(); }
  void BringToFront(WindowHandle window) override { real.BringToFront(window); }
  void Beep() override {}  // a bell per run adds nothing worth timing
  void SetPointer(WindowHandle window, Pointer pointer) override { real.SetPointer(window, pointer); }
  WindowHandle FindWindowByTitle(std::u16string_view title) override { return real.FindWindowByTitle(title); }
  void EndProgram() override { real.EndProgram(); }

  win32::Win32Desktop real;
  double doEventsSeconds = 0;
  long doEventsCalls = 0;
};

// Forwards to the real file system and adds up the time spent renaming: the
// moves, and the look-ups of spellings and folder listings around them.
class TimedFileSystem final : public FileSystem {
 public:
  // An opened entry whose moves are timed.
  class TimedEntry final : public OpenedEntry {
   public:
    TimedEntry(TimedFileSystem& files, std::unique_ptr<OpenedEntry> real) : files_(files), real_(std::move(real)) {}
    bool MoveTo(std::u16string_view path) override { return Timed([&] { return real_->MoveTo(path); }); }
    bool MoveToParkedName(std::u16string_view path) override {
      return Timed([&] { return real_->MoveToParkedName(path); });
    }

   private:
    template <typename RealMove>
    bool Timed(RealMove move) {
      const double start = Seconds();
      const bool done = move();
      files_.renameSeconds += Seconds() - start;
      ++files_.moves;
      files_.failed += !done;
      return done;
    }

    TimedFileSystem& files_;
    std::unique_ptr<OpenedEntry> real_;
  };

  // Opening an entry is the query that tells a link from it.
  std::unique_ptr<OpenedEntry> Open(std::u16string_view path) override {
    const double start = Seconds();
    auto opened = this->real.Open(path);
    renameSeconds += Seconds() - start;
    lookupSeconds += Seconds() - start;
    if (!opened) return nullptr;
    return std::make_unique<TimedEntry>(*this, std::move(opened));
  }
  bool ClearPlaceholder(std::u16string_view path) override { return real.ClearPlaceholder(path); }
  void FinishMoves() override {
    const double start = Seconds();
    real.FinishMoves();
    renameSeconds += Seconds() - start;
  }
  std::optional<std::u16string> StoredName(std::u16string_view path) override {
    const double start = Seconds();
    auto name = real.StoredName(path);
    renameSeconds += Seconds() - start;
    lookupSeconds += Seconds() - start;
    return name;
  }
  std::optional<std::vector<std::u16string>> Names(std::u16string_view folderPath) override {
    const double start = Seconds();
    auto names = real.Names(folderPath);
    renameSeconds += Seconds() - start;
    lookupSeconds += Seconds() - start;
    ++listings;
    return names;
  }
  std::optional<std::vector<std::u16string>> Enumerate(std::u16string_view folderPath,
                                                       std::uint16_t attributes) override {
    const double start = Seconds();
    auto names = real.Enumerate(folderPath, attributes);
    enumerateSeconds += Seconds() - start;
    return names;
  }
  std::vector<std::u16string> Drives() override { return real.Drives(); }
  bool DriveReady(std::u16string_view drive) override { return real.DriveReady(drive); }
  bool DirectoryExists(std::u16string_view path) override { return real.DirectoryExists(path); }
  std::vector<std::u16string> Subdirectories(std::u16string_view path) override { return real.Subdirectories(path); }
  std::u16string CurrentDirectoryOf(std::u16string_view drive) override { return real.CurrentDirectoryOf(drive); }

  void ResetTimes() {
    enumerateSeconds = renameSeconds = lookupSeconds = 0;
    moves = failed = listings = 0;
  }

  win32::Win32FileSystem real;
  // renameSeconds holds lookupSeconds: the spellings and folder listings asked for.
  double enumerateSeconds = 0, renameSeconds = 0, lookupSeconds = 0;
  long moves = 0, failed = 0, listings = 0;
};

// The modal window host of the program with its loop replaced: it loads the
// window through the real binding, shows it, then lets run act on it (click a
// button, say) and returns when that is done. Load is timed on its own.
class BenchWindowHost final : public WindowHost {
 public:
  void ShowModal(Form& form, Form& owner) override {
    HWND ownerWindow = reinterpret_cast<HWND>(owner.Handle());
    bool unloaded = false;
    auto saved = std::move(form.onUnload);
    form.onUnload = [&unloaded] { unloaded = true; };
    {
      const double shownStart = Seconds();
      win32::FormWindow window(form, ownerWindow, false);
      const double start = Seconds();
      form.Load();
      loadSeconds = Seconds() - start;
      window.ApplyLayoutChanges();
      if (ownerWindow) EnableWindow(ownerWindow, FALSE);
      window.Show(SW_SHOWNORMAL);
      PumpMessages();
      shownSeconds = Seconds() - shownStart;
      const double runStart = Seconds();
      if (run) run(form);
      runSeconds = Seconds() - runStart;
      if (ownerWindow) EnableWindow(ownerWindow, TRUE);
    }
    lastUnloaded = unloaded;
    form.onUnload = std::move(saved);
  }
  // The listing, timed from its start to the end of the wait.
  bool WaitFor(Form& progress, Form& owner, const std::function<bool()>& working) override {
    const double start = Seconds();
    const bool done = real.WaitFor(progress, owner, working);
    waitSeconds = Seconds() - start;
    return done;
  }
  int ScreenWidth() override { return real.ScreenWidth(); }
  int ScreenHeight() override { return real.ScreenHeight(); }

  static void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) win32::DispatchOne(message);
  }
  // The command button of a form by its layout name, clicked as the binding does.
  static void Click(Form& form, const char* name) {
    for (const ControlLayout& control : form.Layout().controls) {
      if (std::string_view(control.name) != name) continue;
      auto* button = static_cast<CommandButton*>(control.model);
      if (button->Enabled() && button->Click) button->Click();
    }
  }

  win32::Win32WindowHost real;
  std::function<void(Form&)> run;
  double loadSeconds = 0, shownSeconds = 0, runSeconds = 0, waitSeconds = 0;
  bool lastUnloaded = false;
};

// The program's services: real ones, except that message boxes are recorded
// (nobody is there to answer them) and the folder picker returns a set path.
struct BenchServices {
  TimedFileSystem files;
  testing::MessageRecorder messages;
  win32::RegistrySettingsStore settings;
  win32::Win32Environment environment;
  TimedDesktop desktop;
  testing::FakeFolderPicker folderPicker;
  win32::ThreadTreeLister treeLister;
  BenchWindowHost windows;
  win32::AppDataJournalStorage journal;
  Services services{files, messages, settings, environment, desktop, folderPicker, treeLister, windows, journal};
};

inline void PumpMessages() { BenchWindowHost::PumpMessages(); }

inline std::u16string Wide(const char* ansi) { return win32::FromAnsi(ansi); }

inline double Ratio(double a, double b) { return b > 0 ? a / b : 0; }

// The query that tells a link from the entry where a file link looks like a
// plain file (Wine), as the baselines make it: the entry opened, its final
// path read.
inline bool LinkQuery(const wchar_t* path) {
  const HANDLE file = CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  wchar_t final[1024];
  const bool ok = GetFinalPathNameByHandleW(file, final, 1024, 0) != 0;
  CloseHandle(file);
  return ok;
}

}  // namespace zefta::bench
