#include "platform/win32/support/text.h"

#include <climits>

#include "path_forms.h"

namespace zefta::win32 {

std::string ToAnsi(std::u16string_view text) {
  if (text.empty() || text.size() > INT_MAX / 4) return {};
  const auto* source = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(CP_ACP, 0, source, length, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) WideCharToMultiByte(CP_ACP, 0, source, length, result.data(), size, nullptr, nullptr);
  return result;
}

std::u16string FromAnsi(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > INT_MAX / 2) return {};
  const int length = static_cast<int>(bytes.size());
  const int size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
  std::u16string result(static_cast<std::size_t>(size > 0 ? size : 0), u'\0');
  if (size > 0) MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, reinterpret_cast<wchar_t*>(result.data()), size);
  return result;
}

namespace {

std::wstring_view Wide(std::u16string_view text) { return {reinterpret_cast<const wchar_t*>(text.data()), text.size()}; }

}  // namespace

std::u16string Extended(std::u16string_view path) {
  const std::wstring extended = kestrum::ExtendedPath(Wide(path));
  return U(extended.c_str(), extended.size());
}

std::wstring NtForm(std::u16string_view path) { return kestrum::NtPath(Wide(path)); }

bool SameIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return CompareStringOrdinal(reinterpret_cast<const wchar_t*>(a.data()), static_cast<int>(a.size()),
                              reinterpret_cast<const wchar_t*>(b.data()), static_cast<int>(b.size()),
                              TRUE) == CSTR_EQUAL;
}

}  // namespace zefta::win32
