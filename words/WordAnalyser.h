#pragma once

#include <memory>
#include <string>

namespace MeCab {
class Model;
class Tagger;
} // namespace MeCab

namespace sorvanti::words {

// The morphological analyser (MeCab with a system dictionary) that word boundaries come from.
// Loading the dictionary takes a noticeable moment, so a run creates one analyser and keeps it.
//
// Threads: an analyser does not change after create() and may be shared by any number of
// threads; each thread asks it for boundaries through a WordBoundaries of its own
// (WordBoundaries.h). The analyser must outlive every WordBoundaries made from it.
class WordAnalyser {
public:
    // The environment variable that names the dictionary folder in place of the system's
    // (tests point it at a folder that does not exist).
    static constexpr const char* kDictionaryVariable = "SORVANTI_MECAB_DICDIR";

    struct Created {
        std::unique_ptr<WordAnalyser> analyser; // null on failure
        std::string error;                      // why, for the user (UTF-8), when null
    };

    // Loads the dictionary in `dictionaryFolder` (a folder holding sys.dic and dicrc, in
    // UTF-8). Empty: defaultDictionaryFolder(). Never throws; a missing or unusable
    // dictionary gives a message that names the folder, for example
    // "形態素解析の辞書 (mecab-ipadic-utf8) が見つかりません: /nowhere".
    static Created create(const std::string& dictionaryFolder = {});

    // $SORVANTI_MECAB_DICDIR when set and not empty; otherwise the "dicdir" of MeCab's
    // system-wide configuration ($MECABRC, else /etc/mecabrc), which on Debian is the folder
    // of the preferred installed dictionary (mecab-ipadic-utf8 when installed).
    static std::string defaultDictionaryFolder();

    ~WordAnalyser();
    WordAnalyser(const WordAnalyser&) = delete;
    WordAnalyser& operator=(const WordAnalyser&) = delete;

private:
    friend class WordBoundaries;
    WordAnalyser(MeCab::Model* model, MeCab::Tagger* tagger);

    std::unique_ptr<MeCab::Model> model_;
    std::unique_ptr<MeCab::Tagger> tagger_; // parse(lattice) is safe to share between threads
};

} // namespace sorvanti::words
