#include <windows.h>

#include "platform/win32/services/services_win32.h"
#include "platform/win32/support/app_data.h"
#include "platform/win32/support/whole_file.h"
#include "platform/win32/support/text.h"

namespace zefta::win32 {

namespace {

const char16_t* const kNames[] = {u"journal.txt", u"last-run.txt", u"journal-damaged.txt"};

// Writes text through to the disk.
bool WriteAll(HANDLE file, std::string_view text) {
  DWORD written = 0;
  if (!WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) || written != text.size())
    return false;
  return FlushFileBuffers(file);
}

}  // namespace

AppDataJournalStorage::~AppDataJournalStorage() {
  CloseCurrent();
  if (mutex_) CloseHandle(mutex_);
}

bool AppDataJournalStorage::Claim() {
  // One per user session: a second instance never touches the first one's run.
  mutex_ = CreateMutexW(nullptr, FALSE, L"Local\\ZEFTA.journal");
  if (mutex_ && GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex_);
    mutex_ = nullptr;
  }
  return mutex_ != nullptr;
}

std::u16string AppDataJournalStorage::PathOf(JournalFile file) {
  const std::u16string folder = AppDataFolder();
  if (folder.empty()) return u"";
  return folder + u"\\" + kNames[static_cast<int>(file)];
}

WholeFile AppDataJournalStorage::Read(JournalFile file) { return ReadWholeFile(PathOf(file)); }

bool AppDataJournalStorage::Create(std::string_view text) {
  CloseCurrent();
  current_ = CreateFileW(W(PathOf(JournalFile::Current)), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  return current_ != INVALID_HANDLE_VALUE && WriteAll(current_, text);
}

bool AppDataJournalStorage::Append(std::string_view text) {
  // A run cut short is appended to where it stopped.
  if (current_ == INVALID_HANDLE_VALUE)
    current_ = CreateFileW(W(PathOf(JournalFile::Current)), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  return current_ != INVALID_HANDLE_VALUE && WriteAll(current_, text);
}

bool AppDataJournalStorage::Rename(JournalFile from, JournalFile to) {
  CloseCurrent();
  return MoveFileExW(W(PathOf(from)), W(PathOf(to)), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

void AppDataJournalStorage::Remove(JournalFile file) {
  if (file == JournalFile::Current) CloseCurrent();
  DeleteFileW(W(PathOf(file)));
}

void AppDataJournalStorage::CloseCurrent() {
  if (current_ != INVALID_HANDLE_VALUE) CloseHandle(current_);
  current_ = INVALID_HANDLE_VALUE;
}

}  // namespace zefta::win32
