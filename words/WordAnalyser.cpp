#include "words/WordAnalyser.h"

#include <mecab.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <vector>

namespace sorvanti::words {

namespace {

namespace fs = std::filesystem;

// Where Debian's dictionary packages register the preferred dictionary (update-alternatives).
constexpr const char* kDebianDictionary = "/var/lib/mecab/dic/debian";
constexpr const char* kSystemConfiguration = "/etc/mecabrc";

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

// The value of "dicdir = ..." in a MeCab configuration file, with "$(rcpath)" (the file's
// folder, as MeCab expands it) replaced; empty when the file or the line is missing.
std::string configuredFolder(const fs::path& rcFile) {
    std::ifstream in(rcFile);
    std::string line;
    while (std::getline(in, line)) {
        std::string_view s = trimmed(line);
        if (s.empty() || s.front() == ';' || s.front() == '#')
            continue;
        const size_t eq = s.find('=');
        if (eq == std::string_view::npos || trimmed(s.substr(0, eq)) != "dicdir")
            continue;
        std::string value(trimmed(s.substr(eq + 1)));
        const std::string rcPath = "$(rcpath)";
        if (const size_t at = value.find(rcPath); at != std::string::npos)
            value.replace(at, rcPath.size(), rcFile.parent_path().string());
        return value;
    }
    return {};
}

bool isUtf8Charset(std::string_view charset) {
    std::string folded;
    for (char c : charset) {
        if (c != '-' && c != '_')
            folded += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return folded == "utf8";
}

std::string missingMessage(const std::string& folder) {
    return "形態素解析の辞書 (mecab-ipadic-utf8) が見つかりません: " + folder;
}

} // namespace

WordAnalyser::WordAnalyser(MeCab::Model* model, MeCab::Tagger* tagger)
    : model_(model), tagger_(tagger) {}

// The members go in reverse order: the tagger before the model it was made by.
WordAnalyser::~WordAnalyser() = default;

std::string WordAnalyser::defaultDictionaryFolder() {
    if (const char* folder = std::getenv(kDictionaryVariable); folder && *folder)
        return folder;
    const char* rc = std::getenv("MECABRC");
    std::string folder = configuredFolder(rc && *rc ? rc : kSystemConfiguration);
    return folder.empty() ? kDebianDictionary : folder;
}

WordAnalyser::Created WordAnalyser::create(const std::string& dictionaryFolder) {
    const std::string folder =
        dictionaryFolder.empty() ? defaultDictionaryFolder() : dictionaryFolder;
    std::error_code ec;
    if (!fs::is_regular_file(fs::path(folder) / "sys.dic", ec) ||
        !fs::is_regular_file(fs::path(folder) / "dicrc", ec))
        return {nullptr, missingMessage(folder)};

    // The dictionary's own dicrc serves as the configuration file, so that neither a missing
    // /etc/mecabrc nor a user's ~/.mecabrc decides what is loaded. Arguments are passed one
    // by one: a folder name may hold blanks.
    std::string rcFile = (fs::path(folder) / "dicrc").string();
    std::string folderArg = folder;
    std::vector<char*> argv = {const_cast<char*>("sorvanti"), const_cast<char*>("-r"),
                               rcFile.data(), const_cast<char*>("-d"), folderArg.data()};
    std::unique_ptr<MeCab::Model> model(
        MeCab::createModel(static_cast<int>(argv.size()), argv.data()));
    if (!model) {
        const char* why = MeCab::getLastError();
        return {nullptr, "形態素解析の辞書を読み込めません: " + folder + " (" +
                             std::string(trimmed(why ? why : "")) + ")"};
    }
    const MeCab::DictionaryInfo* info = model->dictionary_info();
    if (!info || !info->charset || !isUtf8Charset(info->charset))
        return {nullptr,
                "形態素解析の辞書が UTF-8 ではありません (mecab-ipadic-utf8 が必要です): " +
                    folder};
    std::unique_ptr<MeCab::Tagger> tagger(model->createTagger());
    if (!tagger)
        return {nullptr, "形態素解析の辞書を読み込めません: " + folder};
    return {std::unique_ptr<WordAnalyser>(new WordAnalyser(model.release(), tagger.release())), {}};
}

} // namespace sorvanti::words
