// The viewer's messages, as the user reads them.
#pragma once

namespace tavisnap {

inline constexpr const char* kViewerCaption = "タビスナップ-画像viewer-";
inline constexpr const char* kFileNotFound = "ファイルが見つかりませんでした";
inline constexpr const char* kSelectBmpOrJpeg = "BMPファル又はJPEGファイルを選択してください";
inline constexpr const char* kFileDialogFilter =
    "すべてのファイル (*.jpg;*.jpeg;*.bmp;)|*.jpg;*.jpeg;*.bmp;|JPEG イメージファイル (*.jpg)|"
    "*.jpg|JPEG イメージファイル (*.jpeg)|*.jpeg|ビットマップ (*.bmp)|*.bmp";
inline constexpr const char* kZoomTooLarge = "これ以上拡大できません（画像が大きすぎます）";
inline constexpr const char* kNothingToSave = "保存する画像がありません";
inline constexpr const char* kSendNotNow =
    "ただいま送信できません。送信中の画像があるときは、送信が終わってからもう一度送ってください";
inline constexpr const char* kOutOfMemory = "メモリが足りないため、この操作を続けられません";

}  // namespace tavisnap
