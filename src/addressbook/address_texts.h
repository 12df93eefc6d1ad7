// The address book's messages and fixed texts, as the user sees them.
#pragma once

namespace tavisnap {

// The store and its pages.
inline constexpr const char* kListPrompt = "リストから選択してください";
inline constexpr const char* kAddressExists = "メールアドレスが存在しています";
inline constexpr const char* kAddressListFull =
    "メールアドレスリストがいっぱいです、削除してから登録してください";
inline constexpr const char* kAddressAdded = "メールアドレスを追加しました";
inline constexpr const char* kAddressUpdated = "メールアドレスを更新しました";
inline constexpr const char* kAddressDeleted = "メールアドレスを削除しました";
inline constexpr const char* kChooseAddress = "メールアドレスを選択して下さい";
inline constexpr const char* kRecipientSet = "送信先を設定しました";
inline constexpr const char* kCheckAddress = "メールアドレスを確認してください";
inline constexpr const char* kDeleteCurrentQuestion =
    "現在送信先に指定されています、削除しますか？";
inline constexpr const char* kDeleteQuestion = "削除します、よろしいですか？";
inline constexpr const char* kCheckSystemFile = "システムファイルを確認して下さい。";
// Around the characters of a name that system.ini cannot hold, each in 「」.
inline constexpr const char* kNameLostPrefix = "名前の";
inline constexpr const char* kNameLostSuffix = "はアドレス帳に保存できません。";

// CSV import and export.
inline constexpr const char* kImportQuestion =
    "CSVファイル（カンマ区切り形式）よりアドレス帳へ一括登録します\r\nよろしいですか？";
inline constexpr const char* kChooseCsvFile = "CSVファイルを選択してください";
inline constexpr const char* kFileNotFound = "ファイルが見つかりませんでした";
inline constexpr const char* kFileUnreadable = "ファイルを読み込めませんでした";
inline constexpr const char* kFileUnwritable = "ファイルに書き込めませんでした";
inline constexpr const char* kImportTooMany =
    "メールアドレスの登録最大数を超過しております\r\n削除してから登録してください";
inline constexpr const char* kImportBadName = "不正な送信先名称があります（空白不可）";
inline constexpr const char* kImportBadAddress = "不正なメールアドレスがあります";
inline constexpr const char* kImportDuplicate =
    "メールアドレスに重複しているものがあります（重複不可）";
inline constexpr const char* kImportDone = "メールアドレスを一括登録しました";
inline constexpr const char* kExportDone = "エクスポートが完了しました";

// Filters of the file dialogs, as "description|pattern|description|pattern".
inline constexpr const char* kImportFilter =
    "すべてのファイル (*.csv;)|*.csv;|CSVファイル (カンマ区切り)(*.csv)|*.csv";
inline constexpr const char* kExportFilter =
    "すべてのファイル (*.csv;)|*.csv;|CSVファイル (*.csv)|*.csv";

}  // namespace tavisnap
