// Every text of the exports: status, the summary at the end and the reasons it gives.
#pragma once

namespace sdmate::text {

inline constexpr char kExportStatus[] = "書き出し中...";
inline constexpr char kConvertStatus[] = "ムービーを変換中...";
inline constexpr char kCameraStatus[] = "カメラ画像の読み込み中...";

// The summary: the first line, then one line per kind of note, then the folder (kBackupFolder).
// "書き出しが完了しました（3 件、12,345 バイト）"; after a stop "書き出したファイル（3 件、…）".
inline constexpr char kExportCompletedBefore[] = "書き出しが完了しました（";
inline constexpr char kExportWritten[] = "書き出したファイル（";
inline constexpr char kExportCompletedFiles[] = " 件、";
inline constexpr char kExportCompletedAfter[] = " バイト）";
inline constexpr char kExportNothingNew[] = "新しく書き出したファイルはありません．";
inline constexpr char kExportCancelled[] =
    "書き出しを中止しました．それまでに書き出したファイルはそのまま残してあります．";
inline constexpr char kExportConverted[] = "パソコンで再生できる形式に変換したムービー：";
inline constexpr char kExportSame[] = "同じファイルが既にあるため書き出さなかったもの：";
inline constexpr char kExportAsIs[] = "変換せずにそのまま書き出したムービー：";
inline constexpr char kExportNotReached[] = "中止したため書き出していないもの：";
inline constexpr char kExportCount[] = " 件";
inline constexpr char kExportFailed[] = "次のファイルを書き出せませんでした．";
inline constexpr char kExportMore[] = "ほか ";

// Reasons, after a file's path.
inline constexpr char kExportUnreadable[] = "カードのファイルを読み込めません";
inline constexpr char kExportLink[] = "カードの外を指すリンクは書き出しません";
inline constexpr char kExportUnwritable[] = "書き出し先に書き込めません";
inline constexpr char kExportNoName[] = "書き出し先に空いている名前がありません";

// Refusals and the one message before movies go unconverted.
inline constexpr char kExportOnCard[] =
    "カードの中には書き出せません．カードの外のフォルダを選んでください．\n";
inline constexpr char kExportNoConverter[] =
    "ffmpeg が見つからないため、ムービーは変換せずにそのまま書き出します．";

}  // namespace sdmate::text
