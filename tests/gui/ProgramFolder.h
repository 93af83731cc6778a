#pragma once

#include "app/Environment.h"
#include "app/Umain.h"
#include "conversion/DictionaryTable.h"
#include "documents/Pane.h"
#include "support/TempFolder.h"
#include "toolkit/Cp932.h"

#include <QString>

#include <memory>
#include <string>
#include <string_view>

namespace sorvanti::test {

// A program placed in a temporary folder: "Sorvanti" with its settings file and the
// dictionary folder beside it. Texts are given in UTF-8 and stored as code page 932.
class ProgramFolder {
public:
    ProgramFolder() { std::filesystem::create_directories(folder.path() + "辞書"); }

    std::string programPath() const { return folder.path() + "Sorvanti"; }
    std::string settingsPath() const { return folder.path() + "Sorvanti.ini"; }
    Environment environment() const {
        return Environment::forProgram(QString::fromStdString(programPath()));
    }

    static std::string cp932(std::string_view utf8) { return cp932::encode(cp932::fromUtf8(utf8)); }

    // A dictionary: one "standard converted" pair per line, CRLF line ends.
    void addDictionary(const std::string& name, std::string_view utf8Pairs) const {
        std::string bytes;
        for (char c : cp932(utf8Pairs)) {
            if (c == '\n')
                bytes += '\r';
            bytes += c;
        }
        folder.write("辞書/" + name + ".txt", bytes);
    }
    void writeSettings(std::string_view utf8Text) const {
        folder.write("Sorvanti.ini", cp932(utf8Text));
    }
    void removeDictionaryFolder() const { std::filesystem::remove_all(folder.path() + "辞書"); }

    std::unique_ptr<TVeruzazur> openWindow() const {
        return std::make_unique<TVeruzazur>(environment());
    }

    TempFolder folder;
};

} // namespace sorvanti::test
