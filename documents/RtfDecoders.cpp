#include "documents/RtfDecoders.h"

#include "toolkit/Cp932.h"
#include "toolkit/Utf16.h"

#include <cerrno>

namespace sorvanti::rtf {

int codepageOfCharset(int charset, int documentCodepage) {
    switch (charset) {
    case 0:
        return 1252;
    case 2:
        return 1252; // symbol fonts: bytes as they are
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 255:
        return 437;
    default:
        return documentCodepage; // 1 (default) and unknown sets
    }
}

Decoders::~Decoders() {
    for (auto& [cp, cd] : open_)
        if (cd != iconv_t(-1))
            iconv_close(cd);
}

void Decoders::decodeAppend(int codepage, std::string_view bytes, QString& out) {
    if (codepage == 932) {
        appendTo(out, cp932::decode(bytes));
        return;
    }
    const iconv_t cd = converter(codepage);
    if (cd == iconv_t(-1)) {
        // Unknown code page: Latin-1 keeps every byte visible.
        for (unsigned char b : bytes)
            out.append(QChar(b));
        return;
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    // Room for a held-back character and its combining mark on top of one unit per byte.
    std::u16string buffer(bytes.size() * 2 + 8, u'\0');
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char* outPtr = reinterpret_cast<char*>(buffer.data());
    size_t outLeft = buffer.size() * sizeof(char16_t);
    // The converters of code pages 1255 and 1258 hold back the last base character in
    // case a combining mark follows; only a call without input hands it over.
    auto flush = [&] { iconv(cd, nullptr, nullptr, &outPtr, &outLeft); };
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) != size_t(-1))
            break;
        if (errno == E2BIG)
            break; // cannot happen with the buffer's size; stop rather than loop
        // An invalid or cut-off sequence: one replacement character per byte, after
        // what came before it.
        flush();
        *reinterpret_cast<char16_t*>(outPtr) = u'\uFFFD';
        outPtr += sizeof(char16_t);
        outLeft -= sizeof(char16_t);
        ++in;
        --inLeft;
    }
    flush();
    const size_t units = size_t(outPtr - reinterpret_cast<char*>(buffer.data())) / 2;
    appendTo(out, std::u16string_view(buffer).substr(0, units));
}

iconv_t Decoders::converter(int codepage) {
    auto it = open_.find(codepage);
    if (it != open_.end())
        return it->second;
    iconv_t cd = iconv_t(-1);
    for (const std::string& name : namesOf(codepage)) {
        cd = iconv_open("UTF-16LE", name.c_str());
        if (cd != iconv_t(-1))
            break;
    }
    open_.emplace(codepage, cd);
    return cd;
}

std::vector<std::string> Decoders::namesOf(int codepage) {
    switch (codepage) {
    case 10000:
        return {"MACINTOSH"};
    case 936:
        return {"CP936", "GBK"};
    case 949:
        return {"CP949", "UHC"};
    case 950:
        return {"CP950", "BIG5"};
    case 1361:
        return {"JOHAB"};
    case 20932:
        return {"EUC-JP"};
    case 50220:
    case 50221:
    case 50222:
        return {"ISO-2022-JP"};
    case 51932:
        return {"EUC-JP"};
    case 65001:
        return {"UTF-8"};
    default:
        return {"CP" + std::to_string(codepage)};
    }
}

} // namespace sorvanti::rtf
