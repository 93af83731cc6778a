#include "cli/ConvertOptions.h"

#include "toolkit/AsciiCase.h"

namespace sorvanti::cli {

const std::string_view kUsage =
    "使い方: sorvanti-convert -d 辞書 [-r] [-e 文字コード] [-o 出力ファイル] [ファイル...]\n"
    "        sorvanti-convert --check 辞書 [-r]\n"
    "\n"
    "辞書の単語対でテキストを変換します。ファイルの指定がないとき、または \"-\" は\n"
    "標準入力を読みます。結果は標準出力か、-o のファイルに書きます。\n"
    "\n"
    "  -d 辞書        辞書ファイルのパス。そのパスにファイルがなければ辞書名として\n"
    "                 辞書/名前.txt を探します: プログラムのフォルダに 辞書/ があれば\n"
    "                 そこ、なければ $XDG_DATA_HOME/Sorvanti/辞書/ と添付の見本。\n"
    "  -r             逆変換 (変換語から標準語へ)。指定がなければ変換 (標準語から変換語へ)。\n"
    "  -e 文字コード  入出力の文字コード: cp932 (既定) または utf-8。\n"
    "                 utf-8 のとき、CP932 にない文字はそのまま通ります。\n"
    "                 UTF-8 として正しくない入力はエラーです (ファイル名と行を表示)。\n"
    "  -o 出力ファイル 成功したときだけ書き込みます (失敗しても元のファイルは残ります)。\n"
    "                 \"-\" は標準出力。\n"
    "      --check 辞書\n"
    "                 辞書を調べ、読み飛ばされる行、40 バイトで切り詰められる単語、\n"
    "                 2000 項目を超えた項目、文字コードとして正しくないバイト、同じ単語対、\n"
    "                 先の対に隠されて使われない対 (先の単語が単語の先頭に一致する対。\n"
    "                 -r のときは変換語で調べます) を「ファイル:行: 説明」の形で示します。\n"
    "                 終了コード: 0 失われる対なし、1 使われない・失われる対あり。\n"
    "      --words    単語単位で変換・検査します (辞書の「#@単語単位」の行と同じ): 単語は\n"
    "                 文の単語の切れ目で始まり切れ目で終わるところでだけ一致します。\n"
    "                 切れ目は形態素解析 MeCab の辞書 (mecab-ipadic-utf8) から求めます。\n"
    "      --no-words 辞書が単語単位でも、単語の切れ目によらずに変換・検査します。\n"
    "      --help     この説明を表示して終了します。\n"
    "      --version  バージョンを表示して終了します。\n"
    "\n"
    "行は LF で区切ります。LF の直前の CR は行に含めず、そのまま書き戻します。\n"
    "辞書は CP932 か UTF-8 (BOM 付き、または UTF-8 として正しく ASCII 以外の文字を含むもの)。\n"
    "CP932 の重複コード (NEC と IBM の拡張文字など) は同じ文字として一致します。\n"
    "単語単位で変換するとき、長い行もひとまとまりに読んで解析します。\n"
    "終了コード: 0 成功、1 エラー、2 使い方の誤り。\n";

namespace {

bool parseEncoding(std::string_view name, bool& utf8) {
    const std::string lower = ascii::toLower(name);
    if (lower == "cp932") {
        utf8 = false;
        return true;
    }
    if (lower == "utf-8" || lower == "utf8") {
        utf8 = true;
        return true;
    }
    return false;
}

} // namespace

std::string parseOptions(const std::vector<std::string>& args, Options& options) {
    bool optionsDone = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsDone || arg == "-" || arg.size() < 2 || arg[0] != '-') {
            options.files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsDone = true;
            continue;
        }
        if (arg == "--help") {
            options.help = true;
            return {};
        }
        if (arg == "--version") {
            options.version = true;
            return {};
        }
        if (arg == "--words" || arg == "--no-words") {
            options.words = arg == "--words";
            continue;
        }
        if (arg == "--check" || arg.rfind("--check=", 0) == 0) {
            if (arg.size() > 7) {
                options.dictionary = arg.substr(8);
            } else if (i + 1 < args.size()) {
                options.dictionary = args[++i];
            } else {
                return "オプション --check には辞書が要ります";
            }
            options.check = true;
            options.haveDictionary = true;
            continue;
        }
        if (arg[1] == '-')
            return "不明なオプションです: " + arg;
        // Short options, which may be grouped ("-rd 辞書") or take their value attached.
        for (size_t k = 1; k < arg.size(); ++k) {
            char letter = arg[k];
            if (letter == 'r') {
                options.reverse = true;
                continue;
            }
            if (letter != 'd' && letter != 'e' && letter != 'o')
                return "不明なオプションです: " + arg;
            std::string value;
            if (k + 1 < arg.size()) {
                value = arg.substr(k + 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                return std::string("オプション -") + letter + " には値が要ります";
            }
            if (letter == 'd') {
                options.dictionary = value;
                options.haveDictionary = true;
            } else if (letter == 'o') {
                options.output = value;
                options.haveOutput = true;
            } else if (!parseEncoding(value, options.utf8)) {
                return "文字コード " + value + " は扱えません (cp932 か utf-8)";
            }
            break;
        }
    }
    if (!options.haveDictionary)
        return "辞書を -d で指定して下さい";
    if (options.dictionary.empty())
        return "辞書の指定が空です";
    if (options.haveOutput && options.output.empty())
        return "出力ファイルの指定が空です";
    if (options.check && (!options.files.empty() || options.haveOutput))
        return "--check は辞書のほかにファイルを取りません";
    return {};
}

} // namespace sorvanti::cli
