// The whole-tree listing on a thread of its own, with the walk KESTRUM.DLL
// uses for its list: the window keeps answering, shows how far the walk is,
// and stops it when asked.
#include <windows.h>

#include <atomic>
#include <vector>

#include "platform/win32/services/services_win32.h"
#include "platform/win32/support/text.h"
#include "tree_walk.h"

namespace zefta::win32 {

namespace {

class ThreadListing final : public TreeListing, private kestrum::TreeVisitor {
 public:
  // The system's thread and lock, not the standard library's: those would
  // bring a good part of the C++ runtime into the program for nothing.
  ThreadListing(std::u16string_view top, bool folders) : top_(top), folders_(folders) {
    thread_ = CreateThread(nullptr, 0, &ThreadListing::Run, this, 0, nullptr);
    if (!thread_) finished_ = true;  // no thread to walk with: an empty list rather than a wait
  }
  ~ThreadListing() override {
    stop_ = true;
    if (!thread_) return;
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
  }

  bool Finished() override { return finished_; }
  ListingProgress Progress() override {
    AcquireSRWLockShared(&folderLock_);
    ListingProgress progress{entries_, folder_};
    ReleaseSRWLockShared(&folderLock_);
    return progress;
  }
  void Cancel() override { stop_ = true; }
  ListedTree Take() override {
    if (!finished_ || stop_) return {};
    return std::move(tree_);
  }

 private:
  static DWORD WINAPI Run(void* self) {
    static_cast<ThreadListing*>(self)->Walk();
    return 0;
  }
  void Walk() {
    try {
      kestrum::WalkTree(W(top_), kestrum::PathReach::AnyLength, *this);
    } catch (const std::bad_alloc&) {
      // Too big to hold: nothing half listed is handed on.
      stop_ = true;
    }
    finished_ = true;
  }

  Next Entry(std::wstring_view, const WIN32_FIND_DATAW& entry) override {
    if (stop_) return Next::Stop;
    const bool directory = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (!directory || folders_) {
      tree_.AddEntry(open_.back(), std::u16string_view(reinterpret_cast<const char16_t*>(entry.cFileName)));
      entries_.store(entries_.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
    }
    return Next::Go;
  }
  void EnterFolder(std::wstring_view path) override {
    const std::u16string folder = U(path.data(), path.size());
    open_.push_back(tree_.AddFolder(folder));
    AcquireSRWLockExclusive(&folderLock_);
    folder_ = folder;
    ReleaseSRWLockExclusive(&folderLock_);
  }
  void LeaveFolder() override { open_.pop_back(); }
  void Unreadable(std::wstring_view path, DWORD) override { tree_.AddUnreadable(U(path.data(), path.size())); }

  const std::u16string top_;
  const bool folders_;
  ListedTree tree_;
  std::vector<ListedTree::FolderIndex> open_;  // the folders being read, innermost last
  std::atomic<bool> stop_{false}, finished_{false};
  std::atomic<std::int64_t> entries_{0};
  SRWLOCK folderLock_ = SRWLOCK_INIT;
  std::u16string folder_;
  HANDLE thread_ = nullptr;  // started once everything else is ready
};

}  // namespace

std::unique_ptr<TreeListing> ThreadTreeLister::Start(std::u16string_view top, bool folders) {
  return std::make_unique<ThreadListing>(top, folders);
}

}  // namespace zefta::win32
