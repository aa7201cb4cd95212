#include "path_forms.h"

#include <windows.h>

namespace kestrum {

namespace {

constexpr std::wstring_view kExtended = L"\\\\?\\", kExtendedNetwork = L"\\\\?\\UNC\\";

bool IsDrivePath(std::wstring_view path) {
  return path.size() >= 2 && path[1] == L':' && (path.size() == 2 || path[2] == L'\\');
}

bool IsNetworkPath(std::wstring_view path) {
  return path.size() > 2 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'?' && path[2] != L'.';
}

// Whether the path needs resolving before the \\?\ form can take it.
bool NeedsResolving(std::wstring_view path) {
  if (!IsDrivePath(path) && !IsNetworkPath(path)) return true;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (path[i] == L'/') return true;
    if (path[i] != L'.' || (i > 0 && path[i - 1] != L'\\')) continue;
    const std::size_t end = path.find(L'\\', i);
    const std::wstring_view part = path.substr(i, end == std::wstring_view::npos ? path.size() - i : end - i);
    if (part == L"." || part == L"..") return true;
  }
  return false;
}

std::wstring Resolved(std::wstring_view path) {
  const std::wstring given(path);
  const DWORD size = GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
  if (size == 0) return given;
  std::wstring full(size, L'\0');
  const DWORD got = GetFullPathNameW(given.c_str(), size, full.data(), nullptr);
  if (got == 0 || got >= size) return given;
  full.resize(got);
  return full;
}

}  // namespace

std::wstring ExtendedPath(std::wstring_view path) {
  if (path.starts_with(kExtended) || path.starts_with(L"\\\\.\\")) return std::wstring(path);
  const std::wstring full = NeedsResolving(path) ? Resolved(path) : std::wstring(path);
  if (IsNetworkPath(full)) return std::wstring(kExtendedNetwork) + full.substr(2);
  if (full.size() == 2 && full[1] == L':') return std::wstring(kExtended) + full + L"\\";
  return std::wstring(kExtended) + full;
}

std::wstring NtPath(std::wstring_view path) {
  std::wstring nt = ExtendedPath(path);
  if (nt.starts_with(kExtended)) nt[1] = L'?';
  return nt;
}

std::wstring ShownPath(std::wstring_view path) {
  if (path.starts_with(kExtendedNetwork)) return L"\\" + std::wstring(path.substr(kExtendedNetwork.size() - 1));
  if (path.starts_with(kExtended)) return std::wstring(path.substr(kExtended.size()));
  return std::wstring(path);
}

}  // namespace kestrum
