// Texts of the conversion list window and of the command that opens it.
#pragma once

namespace zefta::conversion_list_texts {

inline constexpr char16_t kCaption[] = u"変換ファイル一覧";
inline constexpr char16_t kCancel[] = u"キャンセル";
inline constexpr char16_t kChangeStart[] = u"変換開始";

// The list file in the temporary directory.
inline constexpr char16_t kListFileName[] = u"\\ZEFTA.TMP";

// Shown by the tree command when the library or its listing function cannot be reached.
inline constexpr char16_t kLibraryMissing[] = u"KESTRUM.DLL が読み込めないため、変換を開始できません。";

}  // namespace zefta::conversion_list_texts
