#pragma once

#include <QString>

#include <iconv.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace sorvanti::rtf {

// The code page of text in a font of character set `charset` (\fcharsetN); the document's
// code page for the default set 1 and for sets it does not know.
int codepageOfCharset(int charset, int documentCodepage);

// Decoders for the code pages a document uses, opened once per read: code page 932 through
// the project's module, the others through iconv. An invalid or cut-off sequence becomes one
// U+FFFD per byte; an unknown code page is read as Latin-1, which keeps every byte visible.
class Decoders {
public:
    Decoders() = default;
    Decoders(const Decoders&) = delete;
    Decoders& operator=(const Decoders&) = delete;
    ~Decoders();

    void decodeAppend(int codepage, std::string_view bytes, QString& out);

private:
    iconv_t converter(int codepage);
    static std::vector<std::string> namesOf(int codepage);

    std::map<int, iconv_t> open_;
};

} // namespace sorvanti::rtf
