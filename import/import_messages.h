// The texts the fitting of pictures and movies shows while files are staged.
#pragma once

namespace sdmate::text {

inline constexpr char kFittingStatus[] = "携帯電話に合わせて変換しています: ";
inline constexpr char kNotAPicture[] =
    "下記のファイルは画像として読み込めないため、変換できません．";
inline constexpr char kNotFitted[] = "下記のファイルを携帯電話に合わせて変換できませんでした．";
inline constexpr char kFittedTooLarge[] = "変換したファイルが規定のサイズに収まりませんでした．";
inline constexpr char kNoScratchFolder[] = "変換したファイルを置く一時フォルダを作成できません．";
inline constexpr char kSkipped[] = "\n追加をスキップします．\n";
inline constexpr char kMovieToolsMissing[] =
    "ffmpeg が見つからないため、ムービーを携帯電話に合わせて変換できません．\n"
    "ムービーは変換せずにそのまま追加します．";

}  // namespace sdmate::text
