// The forms of a path the file functions are given: the \\?\ form, which
// reaches paths of any length and keeps every name as stored (a trailing dot
// or space, device names such as CON.TXT), and the NT form a rename by
// handle takes. One home for the walk of the library and for ZEFTA.EXE.
#ifndef KESTRUM_PATH_FORMS_H
#define KESTRUM_PATH_FORMS_H

#include <string>
#include <string_view>

namespace kestrum {

// "C:\x" as "\\?\C:\x", "C:" as "\\?\C:\", "\\server\share\x" as
// "\\?\UNC\server\share\x"; a path already in that form as it is. A relative
// path, or one with "." or ".." parts or "/" separators, is made full first
// (which also strips a trailing dot or space: such a path names no stored
// name exactly anyway).
std::wstring ExtendedPath(std::wstring_view path);
// The same with "\??\" in front instead of "\\?\".
std::wstring NtPath(std::wstring_view path);
// The form people read: "\\?\C:\x" as "C:\x", "\\?\UNC\server\x" as
// "\\server\x"; any other path as it is.
std::wstring ShownPath(std::wstring_view path);

}  // namespace kestrum

#endif
