#include "toolkit/ErrorText.h"

#include <cerrno>
#include <string>

namespace sorvanti {

namespace {

struct ErrorText {
    int error;
    const char* text;
};

constexpr ErrorText kTexts[] = {
    {ENOENT, "そのようなファイルやフォルダーはありません"},
    {EACCES, "アクセスが許可されていません"},
    {EPERM, "操作が許可されていません"},
    {EISDIR, "フォルダーです"},
    {ENOTDIR, "途中の名前がフォルダーではありません"},
    {EEXIST, "すでにあります"},
    {EROFS, "読み出し専用のファイルシステムです"},
    {ENOSPC, "ディスクに空きがありません"},
    {EDQUOT, "ディスクの使用量の上限を超えました"},
    {EFBIG, "ファイルが大きすぎます"},
    {ENAMETOOLONG, "名前が長すぎます"},
    {ELOOP, "シンボリックリンクが多すぎます"},
    {EMFILE, "開いているファイルが多すぎます"},
    {ENFILE, "システム全体で開いているファイルが多すぎます"},
    {EIO, "入出力エラーです"},
    {EBUSY, "使用中です"},
    {ETXTBSY, "実行中のファイルです"},
    {EXDEV, "別のファイルシステムをまたいでいます"},
    {EINVAL, "引数が正しくありません"},
    {ENOMEM, "メモリーが足りません"},
    {EPIPE, "読み手のいないパイプです"},
    {EAGAIN, "いまは使えません。もう一度試して下さい"},
    {ENXIO, "そのような装置はありません"},
    {ENODEV, "そのような装置はありません"},
    {ESTALE, "ネットワークファイルの参照が古くなりました"},
};

} // namespace

std::string systemErrorText(int error) {
    for (const ErrorText& t : kTexts) {
        if (t.error == error)
            return t.text;
    }
    return "システムエラー (errno " + std::to_string(error) + ")";
}

std::string pathErrorText(const std::string& path, int error) {
    return path + ": " + systemErrorText(error);
}

} // namespace sorvanti
