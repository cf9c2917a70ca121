// Every text the picture and movie fitters give as the reason a file was not fitted.
#pragma once

namespace sdmate::text {

// Pictures.
inline constexpr char kPictureUnreadable[] = "ファイルを読み込めません．";
inline constexpr char kPictureUndecodable[] = "画像として読み込めません: ";
inline constexpr char kPictureUnencodable[] = "JPEG に変換できません: ";
inline constexpr char kPictureTooLarge[] = "規定のサイズに収まるように縮小できません．";
inline constexpr char kFittedUnwritable[] = "変換したファイルを書き込めません: ";
// HEIF (HEIC) pictures, which the window's fitter reads through the system (after
// kPictureUndecodable).
inline constexpr char kHeifNoDecoder[] =
    "このコンピュータには HEIF (HEIC) の画像を読み込む機能がありません．";
inline constexpr char kHeifNoDecoderWindows[] =
    "Windows に「HEIF 画像拡張機能」を追加すると読み込めます．";
inline constexpr char kHeifDamaged[] = "HEIF (HEIC) の画像が壊れているか、読み込めない形式です．";

// Movies.
inline constexpr char kMovieToolsGone[] = "ffmpeg または ffprobe が見つかりません．";
inline constexpr char kMovieUnreadable[] = "ムービーとして読み込めません: ";
inline constexpr char kMovieNoLength[] = "ムービーの長さが分かりません．";
inline constexpr char kMovieTooLongBefore[] =
    "ムービーが長すぎるため、規定のサイズに収まりません．携帯電話に入るのは約";
inline constexpr char kMovieTooLongAfter[] = "秒までです (このファイルは約";
inline constexpr char kMovieTooLongEnd[] = "秒)．";
inline constexpr char kMovieTimedOut[] = "変換が時間内に終わりませんでした．";
inline constexpr char kMovieFailed[] = "ffmpeg が変換に失敗しました: ";
inline constexpr char kMovieStopped[] = "変換を中止しました．";
inline constexpr char kMovieStillTooLarge[] = "変換しても規定のサイズに収まりませんでした．";

}  // namespace sdmate::text
