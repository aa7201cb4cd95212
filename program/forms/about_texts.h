// Texts of the About window.
#pragma once

#include "versions.h"

namespace zefta::about_texts {

inline constexpr char16_t kCaption[] = u"バージョン情報";
inline constexpr char16_t kVersion[] = u"SORVEL Ver" ZEFTA_VERSION_TEXT;
inline constexpr char16_t kCorrespondFrame[] = u"更新履歴";
inline constexpr char16_t kOk[] = u"OK";

// The version history, in the order shown; the continuation lines of 1.05
// start with four spaces.
inline constexpr const char16_t* kHistory[] = {
    u"1.00-新規作成",
    u"1.01-画面ﾌｫｰﾏｯﾄの変更",
    u"1.02-ﾄﾞﾗｯｸﾞ&ﾄﾞﾛｯﾌﾟ対応",
    u"1.03-設定のﾚｼﾞｽﾄﾘ化",
    u"1.04-ｵﾌﾟｼｮﾝﾒﾆｭｰ追加等",
    u"1.05-ｵﾌﾟｼｮﾝを環境設定に変更",
    u"    -ﾂｰﾙﾒﾆｭｰ追加",
    u"    -拡張子のみの指定追加",
    u"    -ｺﾏﾝﾄﾞﾗｲﾝ処理追加(ﾚｼﾞｽﾄﾘ異常対策)",
};

}  // namespace zefta::about_texts
