// Texts and message boxes shared by every conversion path.
#pragma once

#include <cstdint>
#include <string>

namespace zefta {

inline constexpr char16_t kProductTitle[] = u"SORVEL";
inline constexpr char16_t kMessageTitleSuffix[] = u"からのお知らせ";
inline constexpr char16_t kRenameFailedText[] = u"ファイル名の変更に失敗しました。";
// The closing message of a whole-tree run that converted nothing.
inline constexpr char16_t kNothingConvertedText[] = u"変換対象ファイルは有りませんでした。";
// The one box shown when a handler failed unexpectedly (the details go to the log).
inline constexpr char16_t kActionNotFinishedText[] = u"処理を最後まで行えませんでした。";

// The value in plain decimal digits, a minus sign before a negative one.
std::u16string DecimalText(std::int64_t value);

// "SORVEL" + "からのお知らせ", the title of every message box of the program.
std::u16string MessageTitle();

// "3ファイル中、2ファイルを変換しました。"
std::u16string CompletionText(std::int64_t processed, std::int64_t converted);

// The closing message of an undo: "3ファイル中、2ファイルを元に戻しました。"
std::u16string UndoneText(std::int64_t processed, std::int64_t converted);

// The first line of the closing message of a run that the user stopped.
inline constexpr char16_t kStoppedText[] = u"変換を途中で中止しました。";
inline constexpr char16_t kUndoStoppedText[] = u"元に戻す処理を途中で中止しました。";

// Told once after a run whose journal could not be written.
inline constexpr char16_t kJournalFailedText[] = u"変換の記録を書き込めなかったため、この変換は元に戻せません。";

}  // namespace zefta
