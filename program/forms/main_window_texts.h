// Texts of the main window.
#pragma once

namespace zefta::main_texts {

inline constexpr char16_t kCaption[] = u"SORVEL";
inline constexpr char16_t kFrame[] = u"処理";
inline constexpr char16_t kExtCheck[] = u"拡張子だけが対象";
inline constexpr char16_t kDirCheck[] = u"ﾃﾞｨﾚｸﾄﾘも対象";
inline constexpr char16_t kSmallCheck[] = u"小文字に変換";
inline constexpr char16_t kConversionStart[] = u"変換開始";

inline constexpr char16_t kMenuFile[] = u"ファイル(&F)";
inline constexpr char16_t kProcEnd[] = u"SORVELの終了(&X)";
inline constexpr char16_t kMenuTool[] = u"ツール(&T)";
inline constexpr char16_t kSMenuAllChange[] = u"指定ディレクトリ以降全て変換...(&S)";
inline constexpr char16_t kSMenuCfgSelectMark[] = u"全て変換で変換対象を選択する(&C)";
inline constexpr char16_t kSMenuUndo[] = u"直前の変換を元に戻す(&U)";
inline constexpr char16_t kMenuConfig[] = u"環境設定(&C)";
inline constexpr char16_t kSMenuStartPosition[] = u"起動時は画面中央に表示する(&P)";
inline constexpr char16_t kSMenuMsgOn[] = u"完了メッセージを表示する(&M)";
inline constexpr char16_t kMenuHelp[] = u"ヘルプ(&H)";
inline constexpr char16_t kSMenuHelpVersion[] = u"バージョン情報(&A)";

inline constexpr char16_t kDriveUnreadable[] = u"ドライブ情報が読み取れないので前回のドライブに戻します。";
inline constexpr char16_t kAlreadyRunning[] = u"すでに起動されているので終了します。";

// Status-bar hints.
inline constexpr char16_t kHintList[] = u"変換するﾌｧｲﾙを指定して下さい。";
inline constexpr char16_t kHintDirCheck[] = u"ﾃﾞｨﾚｸﾄﾘも変換対象にします。";
inline constexpr char16_t kHintSmallCheck[] = u"小文字に変換します。";
inline constexpr char16_t kHintExtCheck[] = u"変換時、拡張子だけを対象にします。";
inline constexpr char16_t kHintUndo[] = u"直前の変換で変えたファイル名を元に戻します。";

// The journal of renames, at start and on undo.
inline constexpr char16_t kMendedBefore[] = u"前回の変換が途中で終わっていたため、";
inline constexpr char16_t kMendedAfter[] = u"ファイルの名前を修復しました。";
inline constexpr char16_t kNotMended[] = u"次のファイルは修復できませんでした。";
inline constexpr char16_t kJournalDamaged[] =
    u"変換の記録が壊れているため、使わずに次の場所へ移しました。ファイル名は何も変更していません。";

inline constexpr char16_t kFolderPickerTitle[] = u"変換を行う最上位ディレクトリを選択してください";

}  // namespace zefta::main_texts
