/* KESTRUM.DLL: small Win32 utilities with a C interface.
 *
 * Every operation is exported twice: Name_ with the caller-cleanup (cdecl)
 * convention and NameB_ with the Win32 standard (stdcall) convention, same
 * arguments, same result. FileDelete_, FontInitial_, htol_ and InStrB_ exist
 * only as cdecl. Functions return 1 for success and 0 for failure unless said
 * otherwise below. Texts are NUL-terminated bytes in the ANSI code page; the
 * library never converts them. The caller owns every handle handed out.
 *
 * Drive functions take a root path such as "C:\\" unchanged.
 *   DriveType_        GetDriveTypeA code (0 unknown, 1 no root dir, 2 .. 6).
 *   DriveVolumeName_  always 1; buffer (16 bytes or more) gets the volume
 *                     label, or "" when the system gives none.
 *   DriveFileSystem_  the same for the file-system name.
 *   DriveVolumeNameB_, DriveFileSystemB_ take the address of a variable that
 *                     holds the buffer's address.
 *   DriveTotalSpace_, DriveFreeSpace_  always 1; *result gets the size in
 *                     bytes as whole kilobytes, at most 2,147,482,624; 0 when
 *                     the drive cannot be queried. A root the system calls an
 *                     invalid name reports the current drive instead.
 *
 * MakeDirFileList_(mode, dir, listPath)
 *   Writes one line per entry below dir into listPath (replacing it) and
 *   returns the number of files below dir. Mode 1: files, "DIR\NAME" lines;
 *   2: files, "DIR", "NAME" lines; 3 and 4: the same with directories too;
 *   other modes write nothing. Lines end in CR LF, depth-first pre-order.
 *   Directory links are listed but not entered; entries whose path is too
 *   long for the ANSI file functions are left out. Not thread-safe.
 *
 * Bits (arrays of 16-bit words, bit n = bit n%16 of word n/16):
 *   LD_ 1 if bit n is set; SET_, RST_ set/clear it and return 1.
 *   HI_, LOW_ highest/lowest set bit of *word into *bit and 1; 0 and *bit = 0
 *   for a word of 0. LSFT_, RSFT_ shift *word by count mod 32, return 1.
 * htol_(text, number)  hexadecimal digits only (last eight count); 1 and the
 *   value, or 0 and 0 for any other byte. The empty text gives 1 and 0.
 * InStrB_(start, text, byte)  1-based position of the first byte equal to
 *   the low 8 bits of byte at or after start (below 1 counts as 1), else 0.
 *   Byte-wise: a double-byte character's trail byte can match.
 *
 * Shared memory: MappingCreate_/MappingOpen_ store the mapping handle and the
 *   view address in the caller's variables; MappingRead_/MappingWrite_ copy
 *   record k (1-based, size bytes) of the view, 0 for a null view, record 0
 *   or size 0; MappingClose_ unmaps, closes, zeroes both variables, returns 1.
 * Mutexes: MutexCreate_/MutexOpen_ store the handle; MutexReserve_ returns 1
 *   unless the wait failed (also on time-out, without ownership);
 *   MutexRelease_/MutexClose_ return ReleaseMutex/CloseHandle's result.
 *
 * CreateProc_(path, show, priority)  starts path (no search, no default
 *   extension) with show state and priority 1 real-time, 2 idle, else normal;
 *   waits up to 10 s for it to be idle; returns the process handle or 0.
 * TrayNotifyAdd_/TrayNotifyChange_ add the icon (if missing) and set icon,
 *   tip (63 bytes at most) and message; TrayStateChange_ only modifies;
 *   TrayNotifyDelete_ removes. They return Shell_NotifyIconA's result.
 * FontInitial_(face, height, font)  face 1 Terminal, 16 MS Mincho,
 *   17 MS Gothic, anything else System; stores and returns the font or NULL.
 * FileDelete_(pattern)  deletes the files (not directories, not below)
 *   matching the wildcard pattern; 1 when the pattern has a backslash and
 *   matched any entry, else 0.
 */
#ifndef KESTRUM_H
#define KESTRUM_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

#define KESTRUM_PAIR(result, Name, params, args) \
  result __cdecl Name##_ params;                 \
  result __stdcall Name##B_ params;
#define KESTRUM_PAIR_BYREF(result, Name, params, paramsB) \
  result __cdecl Name##_ params;                          \
  result __stdcall Name##B_ paramsB;
#define KESTRUM_SINGLE(result, Name_, params, args) result __cdecl Name_ params;
#include "kestrum_exports.h"
#undef KESTRUM_PAIR
#undef KESTRUM_PAIR_BYREF
#undef KESTRUM_SINGLE

#ifdef __cplusplus
}
#endif

#endif
