// The texts the staging of files shows: what a file holds against its name, the fitting of
// pictures and movies while files are staged, and why the handset does not take a file as it is.
#pragma once

namespace sdmate::text {

// What a file holds against what its name says.
inline constexpr char kNotWhatNamedBefore[] = "下記のファイルは ";
inline constexpr char kNotWhatNamedAfter[] = " ではないため、追加できません．";
inline constexpr char kContentIsBefore[] = "中身は ";
inline constexpr char kContentIsAfter[] = " です．";

// Fitting.
inline constexpr char kFittingStatusBefore[] = "携帯電話に合わせて変換しています (";
inline constexpr char kFittingStatusAfter[] = "): ";
inline constexpr char kNotAPicture[] =
    "下記のファイルは画像として読み込めないため、変換できません．";
inline constexpr char kNotFitted[] = "下記のファイルを携帯電話に合わせて変換できませんでした．";
inline constexpr char kFittedTooLarge[] = "変換したファイルが規定のサイズに収まりませんでした．";
inline constexpr char kNoScratchFolder[] = "変換したファイルを置く一時フォルダを作成できません．";
inline constexpr char kSkipped[] = "\n追加をスキップします．\n";
inline constexpr char kMovieToolsMissing[] =
    "ffmpeg が見つからないため、ムービーを携帯電話に合わせて変換できません．\n"
    "ムービーは変換せずにそのまま追加します．";
// What fitting would do, below the type and size messages while it is off.
inline constexpr char kFitHintPicture[] =
    "\n\n「携帯電話に合わせて変換する」をオンにすると、携帯電話で表示できる JPEG に変換して"
    "追加します．";
inline constexpr char kFitHintMovie[] =
    "\n\n「携帯電話に合わせて変換する」をオンにすると、携帯電話で再生できる 3GP に変換して"
    "追加します．";

// Why the handset does not show or play a file as it is.
inline constexpr char kPlayWrongType[] = "携帯電話が扱う形式ではありません．";
inline constexpr char kPlayTooLarge[] = "サイズが規定値を超えています．";
inline constexpr char kPlayNotShown[] = " は携帯電話で表示できません．";
inline constexpr char kPlayNotPlayed[] = " は携帯電話で再生できません．";
inline constexpr char kPlayNoPictureSize[] = "画像の大きさを読み取れません．";
inline constexpr char kPlayNotBaseline[] = "ベースライン JPEG ではありません．";
inline constexpr char kPlayPictureSize[] = "画像の大きさ ";
inline constexpr char kPlayVideo[] = "映像 ";
inline constexpr char kPlayAudio[] = "音声 ";
inline constexpr char kPlayFps[] = " fps";
inline constexpr char kPlayOver[] = " が上限 ";
inline constexpr char kPlayOverEnd[] = " を超えています．";
inline constexpr char kPlayNoStreams[] = "映像も音声もありません．";
inline constexpr char kPlayManyStreams[] = "映像または音声が複数あります．";
inline constexpr char kPlayUnreadable[] = "ファイルを読み込めません．";
inline constexpr char kPlayNotWhatNamed[] = "中身が ";
inline constexpr char kPlayNotWhatNamedEnd[] = " ではありません．";
// Before the file's name: its title has "?" for characters the handset cannot show.
inline constexpr char kTitleCharactersReplaced[] =
    "携帯電話で表示できない文字を「?」にしてタイトルにしました：";
inline constexpr char kPlayNoProbe[] = "ffprobe が見つからないため、再生できるか判定できません．";

}  // namespace sdmate::text
