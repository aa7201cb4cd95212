// What the program needs from the platform, one small interface per service.
// Every layer above may use them; the real ones live in platform/win32, the
// tests bring their own.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "services/listed_tree.h"

namespace zefta {

// Opaque window identity handed to the services (an HWND on Windows).
using WindowHandle = std::uintptr_t;

// Platform error codes the program tells apart (the classic runtime's numbers).
namespace error {
inline constexpr int kDeviceUnavailable = 68;
inline constexpr int kPathNotFound = 76;
inline constexpr int kTypeMismatch = 13;
inline constexpr int kInvalidPropertyValue = 380;
}  // namespace error

// A failure raised by a platform operation or a control, carrying its code.
struct PlatformError {
  int code;
};

// Attribute mask of an enumeration: 0 files only, 16 files and directories.
inline constexpr std::uint16_t kAttrDirectory = 16;

// What holds a name, as far as moving it is concerned.
enum class NameHolder {
  Nothing,   // no entry: the name is free
  Entry,     // the entry of exactly this name itself: a move renames it and
             // nothing else
  Link,      // a link (a reparse point, or a name whose handle leads to
             // another path): a move could carry off what it leads to; or an
             // entry found only under another spelling, where the one asked
             // may be a dangling link's
  Unlisted,  // something no listing shows (a dangling link under Wine): a
             // move onto the name would replace it
};

// An entry opened for moving: every move takes this very entry, whatever
// happens meanwhile to the names around it.
class OpenedEntry {
 public:
  virtual ~OpenedEntry() = default;
  // Moves the entry to path, another name in its folder, and never replaces
  // anything: where the name is held, also by something no listing shows,
  // nothing moves. A spelling of the entry's own name is its own: where the
  // file system keeps the old spelling on such a move, the move succeeds and
  // changes nothing. True on success. A move cut short (the program ended
  // in the middle of it) may leave a placeholder at path: see
  // FolderEntries::ClearPlaceholder.
  virtual bool MoveTo(std::u16string_view path) = 0;
  // Moves the entry to a parked name in its folder: its own name with a
  // suffix of the program's own (".~zefta" and a digit), which nobody else
  // makes. Any entry that a listing shows there keeps it, and the move
  // fails; no placeholder is made, so a move cut short leaves none. Only a
  // dangling link bearing that very name could be replaced (under Wine),
  // and none ever does: no run parks a link.
  virtual bool MoveToParkedName(std::u16string_view path) = 0;
};

// The entries of folders, as far as renaming one needs them. Paths are full
// paths of any length; folder paths end in "\". Every name is taken as
// stored: a trailing dot or space, or a device name, is part of it.
class FolderEntries {
 public:
  virtual ~FolderEntries() = default;
  // The entry of exactly this name, opened for moving; nullptr when the name
  // is free, or held by a link, by an entry found only under another
  // spelling, or by something that cannot be opened.
  virtual std::unique_ptr<OpenedEntry> Open(std::u16string_view path) = 0;
  // Removes a placeholder that a move cut short left at path, and nothing
  // else; true when there was one.
  virtual bool ClearPlaceholder(std::u16string_view path) = 0;
  // The name as stored of the entry that path names, found without regard to
  // letter case (an exactly spelled one first); nullopt when there is none.
  virtual std::optional<std::u16string> StoredName(std::u16string_view path) = 0;
  // Every name in the folder as stored, hidden and system entries included,
  // without "." and ".."; nullopt when the folder cannot be read.
  virtual std::optional<std::vector<std::u16string>> Names(std::u16string_view folderPath) = 0;
  // The moves of a run (or of a mend) are over: whatever the file system
  // kept for them from one entry to the next goes.
  virtual void FinishMoves() {}
};

class FileSystem : public FolderEntries {
 public:
  // Names of folderPath's entries, without hidden and system entries,
  // directories only when the mask holds kAttrDirectory. "." and ".." may be
  // among them. nullopt when the folder cannot be read.
  virtual std::optional<std::vector<std::u16string>> Enumerate(std::u16string_view folderPath,
                                                               std::uint16_t attributes) = 0;
  // Drive roots present, as "c:" texts in the order of the drive list.
  virtual std::vector<std::u16string> Drives() = 0;
  // Whether the drive ("c:") can be read now (has a medium).
  virtual bool DriveReady(std::u16string_view drive) = 0;
  // Whether path names an existing directory.
  virtual bool DirectoryExists(std::u16string_view path) = 0;
  // Subdirectories of a directory (no hidden or system ones, no directory
  // links: a walk through them could leave the tree or go round), sorted.
  virtual std::vector<std::u16string> Subdirectories(std::u16string_view path) = 0;
  // The directory the process considers current on the drive ("c:").
  virtual std::u16string CurrentDirectoryOf(std::u16string_view drive) = 0;
};

enum class MessageIcon { Information, Exclamation };

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // A modal box with one OK button, owned by owner.
  virtual void Show(WindowHandle owner, std::u16string_view text, std::u16string_view title,
                    MessageIcon icon) = 0;
};

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The stored value, or defaultValue when the key or section is missing.
  virtual std::u16string Get(std::u16string_view app, std::u16string_view section, std::u16string_view key,
                             std::u16string_view defaultValue) = 0;
  virtual void Set(std::u16string_view app, std::u16string_view section, std::u16string_view key,
                   std::u16string_view value) = 0;
  // Deletes the section with all its keys; false when it could not.
  virtual bool DeleteSection(std::u16string_view app, std::u16string_view section) = 0;
};

class Environment {
 public:
  virtual ~Environment() = default;
  virtual std::optional<std::u16string> Variable(std::u16string_view name) = 0;
  // The argument text after the program's own name.
  virtual std::u16string CommandLineArguments() = 0;
};

enum class Pointer { Default, Arrow, Hourglass };

// The user interface side of the platform: event loop, windows, sounds.
class Desktop {
 public:
  virtual ~Desktop() = default;
  // Runs the pending events once and returns.
  virtual void DoEvents() = 0;
  // A clock that only goes forward, in milliseconds from some start.
  virtual std::uint64_t Milliseconds() = 0;
  virtual void BringToFront(WindowHandle window) = 0;
  virtual void Beep() = 0;
  virtual void SetPointer(WindowHandle window, Pointer pointer) = 0;
  // A top-level window with exactly this title, or 0.
  virtual WindowHandle FindWindowByTitle(std::u16string_view title) = 0;
  // Ends the program at once: no further events run.
  virtual void EndProgram() = 0;
};

// The shell's folder picker. Empty text when cancelled or not a file-system folder.
class FolderPicker {
 public:
  virtual ~FolderPicker() = default;
  virtual std::u16string Browse(WindowHandle owner, std::u16string_view title) = 0;
};

// Where a listing under way has got to, as the window shows it.
struct ListingProgress {
  std::int64_t entries = 0;  // entries found so far
  std::u16string folder;     // the folder being read
};

// A listing under way, off the window's thread.
class TreeListing {
 public:
  virtual ~TreeListing() = default;
  // Whether the walk has ended: done, or stopped by Cancel.
  virtual bool Finished() = 0;
  virtual ListingProgress Progress() = 0;
  // Stops the walk within a fraction of a second; nothing it found is kept.
  virtual void Cancel() = 0;
  // The listed tree, once Finished; empty after Cancel.
  virtual ListedTree Take() = 0;
};

// Lists a directory tree without holding the window.
class TreeLister {
 public:
  virtual ~TreeLister() = default;
  // Starts listing every file below top (a full path without a trailing "",
  // a drive's root as "C:"), and every folder too with folders, in
  // depth-first pre-order, every name as stored and at any depth. Folder
  // links are listed but not entered. top itself is not listed.
  virtual std::unique_ptr<TreeListing> Start(std::u16string_view top, bool folders) = 0;
};

// The files of the journal of renames, in the user's application data folder:
// the run under way (or one that was cut short), the last finished run, and
// where a damaged journal is set aside.
enum class JournalFile { Current, LastRun, SetAside };

// A file read whole: not there, read, or there but not read to its end (a
// read error), which is never taken for all it holds.
struct WholeFile {
  enum class State { Missing, Read, Unreadable };
  State state = State::Missing;
  std::string bytes;
};

class JournalStorage {
 public:
  virtual ~JournalStorage() = default;
  // Whether this process keeps the journal: false while another instance of
  // the program keeps it.
  virtual bool Claim() = 0;
  virtual WholeFile Read(JournalFile file) = 0;
  // Starts Current afresh with text, through to the disk; false when it cannot.
  virtual bool Create(std::string_view text) = 0;
  // Appends text to Current, through to the disk; false when it cannot.
  virtual bool Append(std::string_view text) = 0;
  // Current, or LastRun, becomes file `to` (replacing it), through to the disk.
  virtual bool Rename(JournalFile from, JournalFile to) = 0;
  virtual void Remove(JournalFile file) = 0;
  // Where the file lives, for messages.
  virtual std::u16string PathOf(JournalFile file) = 0;
};

}  // namespace zefta
