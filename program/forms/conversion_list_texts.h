// Texts of the conversion list window and of the command that opens it.
#pragma once

namespace zefta::conversion_list_texts {

inline constexpr char16_t kCaption[] = u"変換ファイル一覧";
inline constexpr char16_t kCancel[] = u"キャンセル";
inline constexpr char16_t kChangeStart[] = u"変換開始";

}  // namespace zefta::conversion_list_texts
