// The real services on Win32.
#pragma once

#include <windows.h>

#include <string>

#include "services/services.h"

namespace zefta::win32 {

// The file system through the W functions, every path in its \\?\ form, so
// that any length and every stored name reach the exact entry. Renaming
// safely on top of it is the entry renamer's (modules/entry_renamer.h).
class Win32FileSystem final : public FileSystem {
 public:
  Win32FileSystem() = default;
  Win32FileSystem(const Win32FileSystem&) = delete;
  Win32FileSystem& operator=(const Win32FileSystem&) = delete;
  ~Win32FileSystem() override;

  std::unique_ptr<OpenedEntry> Open(std::u16string_view path) override;
  bool ClearPlaceholder(std::u16string_view path) override;
  void FinishMoves() override;
  std::optional<std::u16string> StoredName(std::u16string_view path) override;
  std::optional<std::vector<std::u16string>> Names(std::u16string_view folderPath) override;
  std::optional<std::vector<std::u16string>> Enumerate(std::u16string_view folderPath,
                                                       std::uint16_t attributes) override;
  std::vector<std::u16string> Drives() override;
  bool DriveReady(std::u16string_view drive) override;
  bool DirectoryExists(std::u16string_view path) override;
  std::vector<std::u16string> Subdirectories(std::u16string_view path) override;
  std::u16string CurrentDirectoryOf(std::u16string_view drive) override;

  // What holds the name, for those who look at a tree from outside the
  // program (the no-data-loss runs).
  NameHolder Holder(std::u16string_view path);

 private:
  // The staging file the placeholders of one folder are linked from, kept
  // until the moves are over or go to another folder; empty when none is.
  std::u16string keptStaging_;
};

class Win32MessageBoxes final : public MessageBoxes {
 public:
  void Show(WindowHandle owner, std::u16string_view text, std::u16string_view title, MessageIcon icon) override;
};

class Win32Desktop final : public Desktop {
 public:
  void DoEvents() override;
  std::uint64_t Milliseconds() override { return GetTickCount64(); }
  void BringToFront(WindowHandle window) override;
  void Beep() override;
  void SetPointer(WindowHandle window, Pointer pointer) override;
  WindowHandle FindWindowByTitle(std::u16string_view title) override;
  void EndProgram() override;
};

// The per-user settings store of the classic runtime:
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<app>\<section>,
// one REG_SZ value per key, so that settings of earlier versions stay valid.
class RegistrySettingsStore final : public SettingsStore {
 public:
  std::u16string Get(std::u16string_view app, std::u16string_view section, std::u16string_view key,
                     std::u16string_view defaultValue) override;
  void Set(std::u16string_view app, std::u16string_view section, std::u16string_view key,
           std::u16string_view value) override;
  bool DeleteSection(std::u16string_view app, std::u16string_view section) override;
};

// The registry path of a section below HKEY_CURRENT_USER.
std::u16string SettingsKeyPath(std::u16string_view app, std::u16string_view section);

class Win32Environment final : public Environment {
 public:
  std::optional<std::u16string> Variable(std::u16string_view name) override;
  std::u16string CommandLineArguments() override;
};

// The argument text of a command line: what follows the program's own name
// (quoted or not), without the blanks that separate it from the name. Blanks
// inside or after the arguments stay.
std::u16string ArgumentsAfterProgramName(std::u16string_view commandLine);

// The shell's folder picker.
class ShellFolderPicker final : public FolderPicker {
 public:
  std::u16string Browse(WindowHandle owner, std::u16string_view title) override;
};

// The journal's files in %APPDATA%\ZEFTA (journal.txt, last-run.txt,
// journal-damaged.txt); a named mutex tells whether another instance keeps
// them. The run under way stays open while it is written.
class AppDataJournalStorage final : public JournalStorage {
 public:
  ~AppDataJournalStorage() override;
  bool Claim() override;
  WholeFile Read(JournalFile file) override;
  bool Create(std::string_view text) override;
  bool Append(std::string_view text) override;
  bool Rename(JournalFile from, JournalFile to) override;
  void Remove(JournalFile file) override;
  std::u16string PathOf(JournalFile file) override;

 private:
  void CloseCurrent();
  HANDLE mutex_ = nullptr;
  HANDLE current_ = INVALID_HANDLE_VALUE;
};

// The whole-tree listing, walked on a thread of its own with the walk of the
// utility library's list.
class ThreadTreeLister final : public TreeLister {
 public:
  std::unique_ptr<TreeListing> Start(std::u16string_view top, bool folders) override;
};

}  // namespace zefta::win32
