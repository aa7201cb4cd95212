// Paths as the program writes them: full paths with "\" between the parts
// (a drive's root as "C:\"), folders of an entry ending in "\". The forms the
// file functions are given (\\?\) are the platform's (library/path_forms.h).
#pragma once

#include <string>
#include <string_view>

namespace zefta {

bool IsSeparator(char16_t c);  // "\" or "/"
// "c:..." or "C:...": a path on a drive.
bool HasDrive(std::u16string_view text);

// A full path split at its last "\" (or "/"): the folder part keeps the
// separator, the name is what follows it.
struct PathParts {
  std::u16string_view folder;
  std::u16string_view name;
};
PathParts SplitPath(std::u16string_view path);

// The path with a "\" at its end, added where it has none.
std::u16string WithSeparator(std::u16string_view path);
// The folder without its last "\" ("C:\" as "C:").
std::u16string_view WithoutSeparator(std::u16string_view folder);
// "." and ".." parts and doubled separators resolved: "c:\a\..\b" is "c:\b".
// path starts with its drive.
std::u16string NormalizedPath(std::u16string_view path);
// The volume of a folder: its drive ("C:"), or the server of a network path.
std::u16string_view VolumeOf(std::u16string_view folder);

}  // namespace zefta
