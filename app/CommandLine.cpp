#include "app/CommandLine.h"

#include <string_view>

namespace sorvanti::commandline {

namespace {

constexpr std::string_view kUsage =
    "使い方: Sorvanti [文書]\n"
    "\n"
    "単語の組の辞書で文章を変換するウィンドウ (秘密 の そるばんち) を開きます。\n"
    "文書 (.svt と .txt はテキスト、.rtf はリッチテキスト) を指定すると、上の窓に開きます。\n"
    "\n"
    "  -h, --help  この説明を表示して終了します。\n"
    "  --version   バージョンを表示して終了します。\n"
    "\n"
    "使い方の説明書は「ヘルプ」メニューの「目次」(F1) で開きます。\n"
    "コマンドラインで変換するには sorvanti-convert を使います。\n";

} // namespace

std::optional<QString> documentName(const QString& commandLine) {
    const QString separator = QStringLiteral("\" \"");
    const qsizetype at = commandLine.indexOf(separator);
    if (at < 0)
        return std::nullopt;
    QString name = commandLine.mid(at + separator.size());
    name.chop(1);
    return name;
}

std::optional<std::string> informationRequested(int argc, const char* const* argv) {
    if (argc != 2)
        return std::nullopt;
    const std::string_view arg = argv[1];
    if (arg == "--help" || arg == "-h")
        return std::string(kUsage);
    if (arg == "--version")
        return std::string("Sorvanti ") + SORVANTI_VERSION + "\n";
    return std::nullopt;
}

} // namespace sorvanti::commandline
