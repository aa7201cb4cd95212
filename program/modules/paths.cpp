#include "modules/paths.h"

#include <vector>

namespace zefta {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

bool HasDrive(std::u16string_view text) {
  return text.size() >= 2 && text[1] == u':' &&
         ((text[0] >= u'a' && text[0] <= u'z') || (text[0] >= u'A' && text[0] <= u'Z'));
}

PathParts SplitPath(std::u16string_view path) {
  const std::size_t sep = path.find_last_of(u"\\/");
  if (sep == std::u16string_view::npos) return {std::u16string_view{}, path};
  return {path.substr(0, sep + 1), path.substr(sep + 1)};
}

std::u16string WithSeparator(std::u16string_view path) {
  std::u16string result(path);
  if (result.empty() || !IsSeparator(result.back())) result += u'\\';
  return result;
}

std::u16string_view WithoutSeparator(std::u16string_view folder) {
  if (folder.size() > 1 && folder.back() == u'\\') folder.remove_suffix(1);
  return folder;
}

std::u16string NormalizedPath(std::u16string_view path) {
  std::vector<std::u16string> parts;
  std::u16string part;
  const auto endPart = [&] {
    if (part == u"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != u".") {
      parts.push_back(part);
    }
    part.clear();
  };
  for (std::size_t i = 2; i < path.size(); ++i) {
    if (IsSeparator(path[i])) endPart();
    else part += path[i];
  }
  endPart();
  std::u16string result = std::u16string(path.substr(0, 2)) + u"\\";
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i) result += u'\\';
    result += parts[i];
  }
  return result;
}

std::u16string_view VolumeOf(std::u16string_view folder) {
  if (folder.size() >= 2 && folder[1] == u':') return folder.substr(0, 2);
  const std::size_t server = folder.find(u'\\', 2);
  return folder.substr(0, server);
}

}  // namespace zefta
