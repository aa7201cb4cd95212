// Named shared memory as records and named mutexes; every handle and view
// goes to the caller's variables, the library keeps none.
#include <cstring>

#include "kestrum.h"

extern "C" {

int __cdecl MappingCreate_(const char* name, DWORD size, HANDLE* mapping, void** view) {
  *mapping = nullptr;
  *view = nullptr;
  *mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, name);
  if (*mapping == nullptr) return 0;
  *view = MapViewOfFile(*mapping, FILE_MAP_ALL_ACCESS, 0, 0, size);
  return 1;
}

int __cdecl MappingOpen_(const char* name, HANDLE* mapping, void** view) {
  *mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name);
  if (*mapping == nullptr) return 0;  // the view variable keeps its value
  *view = MapViewOfFile(*mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0);
  return 1;
}

// The view's size is unknown here: the caller keeps record * size inside it.
static char* RecordAddress(void* view, int record, int size) {
  return static_cast<char*>(view) +
         static_cast<std::size_t>(static_cast<unsigned>(record - 1)) * static_cast<unsigned>(size);
}

int __cdecl MappingRead_(void* view, void* destination, int record, int size) {
  if (view == nullptr || record == 0 || size == 0) return 0;
  std::memcpy(destination, RecordAddress(view, record, size), static_cast<unsigned>(size));
  return 1;
}

int __cdecl MappingWrite_(void* view, const void* source, int record, int size) {
  if (view == nullptr || record == 0 || size == 0) return 0;
  std::memcpy(RecordAddress(view, record, size), source, static_cast<unsigned>(size));
  return 1;
}

int __cdecl MappingClose_(HANDLE* mapping, void** view) {
  UnmapViewOfFile(*view);
  CloseHandle(*mapping);
  *mapping = nullptr;
  *view = nullptr;
  return 1;
}

int __cdecl MutexCreate_(const char* name, HANDLE* mutex) {
  *mutex = nullptr;
  *mutex = CreateMutexA(nullptr, FALSE, name);
  return *mutex != nullptr ? 1 : 0;
}

int __cdecl MutexOpen_(const char* name, HANDLE* mutex) {
  *mutex = nullptr;
  *mutex = OpenMutexA(MUTEX_ALL_ACCESS, TRUE, name);
  return *mutex != nullptr ? 1 : 0;
}

// A time-out also gives 1: only a failed wait is reported.
int __cdecl MutexReserve_(HANDLE mutex, DWORD milliseconds) {
  return WaitForSingleObject(mutex, milliseconds) == WAIT_FAILED ? 0 : 1;
}

int __cdecl MutexRelease_(HANDLE mutex) { return ReleaseMutex(mutex); }

int __cdecl MutexClose_(HANDLE handle) { return CloseHandle(handle); }

}  // extern "C"
