// The whole-tree conversion as a driver sees it: the shell's folder picker
// (its tree walked down to a folder, then OK) and the conversion list window.
#pragma once

#include <windows.h>

#include <string>

#include "e2e_support.h"

namespace e2e {

inline constexpr wchar_t kPickerTitle[] = L"変換を行う最上位ディレクトリを選択してください";
inline constexpr wchar_t kListCaption[] = L"変換ファイル一覧";

// The folder picker: the dialog of the program that shows our title inside.
HWND WaitForPicker(DWORD pid);
// Picks `folder` in the picker and presses OK; with a path, a screenshot first.
bool PickFolder(const Process& program, const std::wstring& folder, const std::wstring& screenshot);
HWND WaitForListWindow(DWORD pid);

}  // namespace e2e
