/* The exported interface of KESTRUM.DLL as a table, one row per operation.
 *
 * Include this file after defining the row macros; it is expanded for the
 * stdcall twins (twins.cpp, which also checks every row against the written
 * prototypes of kestrum.h at compile time).
 *
 *   KESTRUM_PAIR(result, Name, params, args)
 *       Name_ (cdecl) and NameB_ (stdcall) with the same parameters.
 *   KESTRUM_PAIR_BYREF(result, Name, params, paramsB)
 *       As KESTRUM_PAIR, but NameB_ takes its output buffer one level more
 *       indirect (paramsB); the twin is written by hand.
 *   KESTRUM_SINGLE(result, Name_, params, args)
 *       cdecl only, no twin.
 *
 * Handles travel as 32-bit values; every text is bytes in the ANSI code page
 * (but for the UTF-8 modes of the tree list).
 * The rows need <windows.h> for the handle types.
 */

/* Drive information */
KESTRUM_PAIR(UINT, DriveType, (const char* root), (root))
KESTRUM_PAIR_BYREF(int, DriveVolumeName, (const char* root, char* buffer), (const char* root, char** buffer))
KESTRUM_PAIR_BYREF(int, DriveFileSystem, (const char* root, char* buffer), (const char* root, char** buffer))
KESTRUM_PAIR(int, DriveTotalSpace, (const char* root, int* result), (root, result))
KESTRUM_PAIR(int, DriveFreeSpace, (const char* root, int* result), (root, result))

/* Directory tree list */
KESTRUM_PAIR(int, MakeDirFileList, (int mode, const char* dir, const char* listPath), (mode, dir, listPath))

/* Bits and numbers */
KESTRUM_PAIR(int, LD, (unsigned short* array, int n), (array, n))
KESTRUM_PAIR(int, SET, (unsigned short* array, int n), (array, n))
KESTRUM_PAIR(int, RST, (unsigned short* array, int n), (array, n))
KESTRUM_PAIR(int, HI, (const unsigned short* word, short* bit), (word, bit))
KESTRUM_PAIR(int, LOW, (const unsigned short* word, short* bit), (word, bit))
KESTRUM_PAIR(int, LSFT, (unsigned short* word, int count), (word, count))
KESTRUM_PAIR(int, RSFT, (unsigned short* word, int count), (word, count))
KESTRUM_SINGLE(int, htol_, (const char* text, int* number), (text, number))
KESTRUM_SINGLE(int, InStrB_, (int start, const char* text, int byte), (start, text, byte))

/* Shared memory */
KESTRUM_PAIR(int, MappingCreate, (const char* name, DWORD size, HANDLE* mapping, void** view), (name, size, mapping, view))
KESTRUM_PAIR(int, MappingOpen, (const char* name, HANDLE* mapping, void** view), (name, mapping, view))
KESTRUM_PAIR(int, MappingRead, (void* view, void* destination, int record, int size), (view, destination, record, size))
KESTRUM_PAIR(int, MappingWrite, (void* view, const void* source, int record, int size), (view, source, record, size))
KESTRUM_PAIR(int, MappingClose, (HANDLE* mapping, void** view), (mapping, view))

/* Named mutexes */
KESTRUM_PAIR(int, MutexCreate, (const char* name, HANDLE* mutex), (name, mutex))
KESTRUM_PAIR(int, MutexOpen, (const char* name, HANDLE* mutex), (name, mutex))
KESTRUM_PAIR(int, MutexReserve, (HANDLE mutex, DWORD milliseconds), (mutex, milliseconds))
KESTRUM_PAIR(int, MutexRelease, (HANDLE mutex), (mutex))
KESTRUM_PAIR(int, MutexClose, (HANDLE handle), (handle))

/* Process, tray icon, font, files */
KESTRUM_PAIR(HANDLE, CreateProc, (const char* path, int show, int priority), (path, show, priority))
KESTRUM_PAIR(int, TrayNotifyAdd, (HWND window, UINT message, UINT id, HICON icon, const char* tip), (window, message, id, icon, tip))
KESTRUM_PAIR(int, TrayNotifyChange, (HWND window, UINT message, UINT id, HICON icon, const char* tip), (window, message, id, icon, tip))
KESTRUM_PAIR(int, TrayStateChange, (HWND window, UINT message, UINT id, HICON icon, const char* tip), (window, message, id, icon, tip))
KESTRUM_PAIR(int, TrayNotifyDelete, (HWND window, UINT id), (window, id))
KESTRUM_SINGLE(HFONT, FontInitial_, (int face, int height, HFONT* font), (face, height, font))
KESTRUM_SINGLE(int, FileDelete_, (const char* pattern), (pattern))
