// Texts of the progress window and of the progress of runs.
#pragma once

namespace zefta::progress_texts {

inline constexpr char16_t kCaption[] = u"変換ファイル一覧の作成";
inline constexpr char16_t kCancel[] = u"キャンセル";
// "一覧を作成しています… 12,345ファイル"
inline constexpr char16_t kListingBefore[] = u"一覧を作成しています… ";
inline constexpr char16_t kCountAfter[] = u"ファイル";
inline constexpr char16_t kReading[] = u"読み込み中: ";

// The status of a run under way: "変換中 1,234 / 5,000ファイル　残り約 2 分　Esc で中止"
inline constexpr char16_t kConverting[] = u"変換中 ";
inline constexpr char16_t kUndoing[] = u"元に戻しています ";
inline constexpr char16_t kOf[] = u" / ";
inline constexpr char16_t kLeftBefore[] = u"　残り約 ";
inline constexpr char16_t kSeconds[] = u" 秒";
inline constexpr char16_t kMinutes[] = u" 分";
inline constexpr char16_t kEscStops[] = u"　Esc で中止";

// The list window, when the walk could not read some folders: their number
// and the first of them.
inline constexpr char16_t kUnreadableBefore[] = u"読み込めなかったフォルダが ";
inline constexpr char16_t kUnreadableAfter[] = u" 個あり、その中のファイルは一覧にありません。最初のフォルダ:";

}  // namespace zefta::progress_texts
