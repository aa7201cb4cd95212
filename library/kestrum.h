/* KESTRUM.DLL: small Win32 utilities with a C interface.
 *
 * Conventions:
 * - Every operation but four is exported twice: Name_ with the caller-cleanup
 *   (cdecl) convention and NameB_ with the Win32 standard (stdcall)
 *   convention, same arguments, same result. On x64 there is one calling
 *   convention and the two are the same function under two names.
 *   FileDelete_, FontInitial_, htol_ and InStrB_ exist only as cdecl.
 * - Functions return 1 for success and 0 for failure unless said otherwise.
 * - Texts are NUL-terminated bytes in the ANSI code page (Shift-JIS on
 *   Japanese systems); the library never converts them. The one exception
 *   is the tree list in its UTF-8 modes (KESTRUM_LIST_UTF8).
 * - The caller owns every handle handed out and releases it as said below.
 * - No function checks a pointer for NULL unless said so; nothing is shown.
 * - Exports are by name; the ordinals 1 to 60 follow the ASCII order of the
 *   names (kestrum.def).
 */
#ifndef KESTRUM_H
#define KESTRUM_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Drive information ---------------------------------------------------
 * Each takes the root path of a drive ("C:\\") and hands it to the system
 * unchanged. */

/* The GetDriveTypeA code: 0 unknown, 1 no root directory, 2 removable,
 * 3 fixed, 4 remote, 5 CD-ROM, 6 RAM disk. */
UINT __cdecl DriveType_(const char* root);
UINT __stdcall DriveTypeB_(const char* root);

/* Always 1. buffer (16 bytes or more) receives the volume label, or "" when
 * the system gives none. The B form takes the address of a variable that
 * holds the buffer's address. */
int __cdecl DriveVolumeName_(const char* root, char* buffer);
int __stdcall DriveVolumeNameB_(const char* root, char** buffer);

/* Always 1. buffer (16 bytes or more) receives the file-system name, or "".
 * The B form takes the address of a variable that holds the buffer's address. */
int __cdecl DriveFileSystem_(const char* root, char* buffer);
int __stdcall DriveFileSystemB_(const char* root, char** buffer);

/* Always 1. *result receives the drive's total size in bytes as whole
 * kilobytes, at most 2,147,482,624; 0 when the drive cannot be queried. A
 * root the system calls an invalid name reports the current drive. */
int __cdecl DriveTotalSpace_(const char* root, int* result);
int __stdcall DriveTotalSpaceB_(const char* root, int* result);

/* As DriveTotalSpace_, for the free space. */
int __cdecl DriveFreeSpace_(const char* root, int* result);
int __stdcall DriveFreeSpaceB_(const char* root, int* result);

/* ---- Directory tree list ------------------------------------------------- */

/* List modes: which entries a line is written for, and how. */
#define KESTRUM_LIST_FILE_PATHS 1  /* files, one "DIR\NAME" line each */
#define KESTRUM_LIST_FILE_PAIRS 2  /* files, one "DIR", "NAME" line each */
#define KESTRUM_LIST_ENTRY_PATHS 3 /* files and directories, "DIR\NAME" */
#define KESTRUM_LIST_ENTRY_PAIRS 4 /* files and directories, "DIR", "NAME" */
/* Added to the modes 1 to 4: dir, listPath and the lines are UTF-8 instead of
 * the ANSI code page, so that every name is written as it is stored. */
#define KESTRUM_LIST_UTF8 0x100

/* The number of files below dir. Writes one line per entry below dir into
 * listPath (replacing it), depth-first in pre-order, each ending in CR LF:
 * mode 1 files as "DIR\NAME"; 2 files as "DIR", "NAME"; 3 and 4 the same
 * with directories too; the same modes with KESTRUM_LIST_UTF8 added give the
 * same lines in UTF-8; any other mode writes nothing. In the modes 1 to 4 an
 * entry whose name the ANSI code page cannot hold exactly gets no line, and
 * neither does anything below such a directory: its ANSI form would name
 * another entry or another path. Such files are still counted. Directory
 * links are listed but not entered. The modes 1 to 4 keep to what the ANSI
 * file functions reach: an entry whose path would be MAX_PATH characters or
 * bytes or longer is left out, nor is a directory entered whose "\*.*"
 * pattern would not fit. The UTF-8 modes reach entries at any depth (the
 * walk goes through the \\?\ form), and keep each name exactly as stored,
 * a trailing dot or space and device names (CON.TXT) included. Not
 * thread-safe. */
int __cdecl MakeDirFileList_(int mode, const char* dir, const char* listPath);
int __stdcall MakeDirFileListB_(int mode, const char* dir, const char* listPath);

/* ---- Bits and numbers -----------------------------------------------------
 * Bit n of an array of 16-bit words is bit n % 16 of word n / 16. */

/* 1 when bit n is set, else 0. */
int __cdecl LD_(unsigned short* array, int n);
int __stdcall LDB_(unsigned short* array, int n);

/* Sets bit n; returns 1. */
int __cdecl SET_(unsigned short* array, int n);
int __stdcall SETB_(unsigned short* array, int n);

/* Clears bit n; returns 1. */
int __cdecl RST_(unsigned short* array, int n);
int __stdcall RSTB_(unsigned short* array, int n);

/* 1 and the number of the highest set bit of *word in *bit; 0 and *bit = 0
 * for a word of 0. */
int __cdecl HI_(const unsigned short* word, short* bit);
int __stdcall HIB_(const unsigned short* word, short* bit);

/* As HI_, for the lowest set bit. */
int __cdecl LOW_(const unsigned short* word, short* bit);
int __stdcall LOWB_(const unsigned short* word, short* bit);

/* Shifts *word left by count modulo 32 (16 and more clear it); returns 1. */
int __cdecl LSFT_(unsigned short* word, int count);
int __stdcall LSFTB_(unsigned short* word, int count);

/* Shifts *word right (logical) by count modulo 32; returns 1. */
int __cdecl RSFT_(unsigned short* word, int count);
int __stdcall RSFTB_(unsigned short* word, int count);

/* 1 and the value of the hexadecimal digits of text in *number (the last
 * eight digits count; "" gives 0); 0 and *number = 0 for any other byte. */
int __cdecl htol_(const char* text, int* number);

/* The 1-based position of the first byte of text equal to the low 8 bits of
 * byte, at or after start (below 1 counts as 1); 0 when there is none.
 * Byte-wise: the trail byte of a double-byte character can match. */
int __cdecl InStrB_(int start, const char* text, int byte);

/* ---- Shared memory ---------------------------------------------------------
 * A mapping lives in two variables of the caller, its handle and its view. */

/* Creates (or opens, when the name exists) a mapping of size bytes on the
 * paging file and maps it; 1 when the mapping handle is not NULL. */
int __cdecl MappingCreate_(const char* name, DWORD size, HANDLE* mapping, void** view);
int __stdcall MappingCreateB_(const char* name, DWORD size, HANDLE* mapping, void** view);

/* Opens a named mapping and maps all of it; 1 when the handle is not NULL.
 * On failure *view keeps its former value. */
int __cdecl MappingOpen_(const char* name, HANDLE* mapping, void** view);
int __stdcall MappingOpenB_(const char* name, HANDLE* mapping, void** view);

/* Copies record (1-based, size bytes each) of view to destination; 0 and no
 * copy for a NULL view, record 0 or size 0. */
int __cdecl MappingRead_(void* view, void* destination, int record, int size);
int __stdcall MappingReadB_(void* view, void* destination, int record, int size);

/* Copies source into record (1-based, size bytes each) of view; 0 and no
 * copy for a NULL view, record 0 or size 0. */
int __cdecl MappingWrite_(void* view, const void* source, int record, int size);
int __stdcall MappingWriteB_(void* view, const void* source, int record, int size);

/* Unmaps the view, closes the mapping and sets both variables to 0; returns 1. */
int __cdecl MappingClose_(HANDLE* mapping, void** view);
int __stdcall MappingCloseB_(HANDLE* mapping, void** view);

/* ---- Named mutexes --------------------------------------------------------- */

/* Creates a mutex, not owned (or opens it, when the name exists); 1 when the
 * handle stored in *mutex is not NULL. */
int __cdecl MutexCreate_(const char* name, HANDLE* mutex);
int __stdcall MutexCreateB_(const char* name, HANDLE* mutex);

/* Opens a named mutex; 1 when the handle stored in *mutex is not NULL. */
int __cdecl MutexOpen_(const char* name, HANDLE* mutex);
int __stdcall MutexOpenB_(const char* name, HANDLE* mutex);

/* Waits for the mutex at most milliseconds; 0 only when the wait failed. A
 * time-out also gives 1, without ownership. */
int __cdecl MutexReserve_(HANDLE mutex, DWORD milliseconds);
int __stdcall MutexReserveB_(HANDLE mutex, DWORD milliseconds);

/* ReleaseMutex's result. */
int __cdecl MutexRelease_(HANDLE mutex);
int __stdcall MutexReleaseB_(HANDLE mutex);

/* CloseHandle's result; closes any handle (mapping, mutex, process). */
int __cdecl MutexClose_(HANDLE handle);
int __stdcall MutexCloseB_(HANDLE handle);

/* ---- Process, tray icon, font, files ---------------------------------------- */

/* Priorities of CreateProc_; any other value gives the normal class. */
#define KESTRUM_PRIORITY_NORMAL 0
#define KESTRUM_PRIORITY_REALTIME 1 /* REALTIME_PRIORITY_CLASS, not HIGH_ */
#define KESTRUM_PRIORITY_IDLE 2     /* IDLE_PRIORITY_CLASS */

/* The process handle of path started with the show state and the priority
 * (KESTRUM_PRIORITY_*), after waiting up to 10 s for it to be idle; NULL
 * when it cannot start. No search path, no default extension, no arguments.
 * Close the handle with MutexClose_. */
HANDLE __cdecl CreateProc_(const char* path, int show, int priority);
HANDLE __stdcall CreateProcB_(const char* path, int show, int priority);

/* Adds the tray icon (when missing), then sets its icon, tip (at most 63
 * bytes; NULL for none) and callback message; the result of the second step. */
int __cdecl TrayNotifyAdd_(HWND window, UINT message, UINT id, HICON icon, const char* tip);
int __stdcall TrayNotifyAddB_(HWND window, UINT message, UINT id, HICON icon, const char* tip);

/* The same steps as TrayNotifyAdd_. */
int __cdecl TrayNotifyChange_(HWND window, UINT message, UINT id, HICON icon, const char* tip);
int __stdcall TrayNotifyChangeB_(HWND window, UINT message, UINT id, HICON icon, const char* tip);

/* Changes icon, tip and callback message of an existing tray icon;
 * Shell_NotifyIconA's result. */
int __cdecl TrayStateChange_(HWND window, UINT message, UINT id, HICON icon, const char* tip);
int __stdcall TrayStateChangeB_(HWND window, UINT message, UINT id, HICON icon, const char* tip);

/* Removes a tray icon; Shell_NotifyIconA's result. */
int __cdecl TrayNotifyDelete_(HWND window, UINT id);
int __stdcall TrayNotifyDeleteB_(HWND window, UINT id);

/* Face codes of FontInitial_; any other value gives System. */
#define KESTRUM_FACE_SYSTEM 0
#define KESTRUM_FACE_TERMINAL 1
#define KESTRUM_FACE_MINCHO 16 /* "MS Mincho" */
#define KESTRUM_FACE_GOTHIC 17 /* "MS Gothic" */

/* A font of the face code (KESTRUM_FACE_*) at height (as LOGFONT's
 * lfHeight), also stored in *font; NULL when it cannot be made. The caller
 * deletes it. */
HFONT __cdecl FontInitial_(int face, int height, HFONT* font);

/* Deletes the files (not directories, not below) matching the wildcard
 * pattern; 1 when the pattern holds a backslash and matched any entry, else 0. */
int __cdecl FileDelete_(const char* pattern);

#ifdef __cplusplus
}
#endif

#endif
