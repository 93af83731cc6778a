#include "conversion/DictionaryEncoding.h"

#include "conversion/DictionaryLoader.h"

#include "toolkit/Cp932.h"

#include <cstdio>

namespace sorvanti {

Utf8LineFault utf8LineToCp932(std::string_view line, std::string& out) {
    thread_local std::u16string text;
    text.clear();
    if (!cp932::fromUtf8Append(line, text))
        return Utf8LineFault::Invalid;
    // U+F700..U+F7FF stand for raw bytes only in text decoded from code page 932;
    // written in a UTF-8 file they are characters like any other without a form.
    if (cp932::findUnencodable(text, false) != std::u16string::npos)
        return Utf8LineFault::NoCp932Form;
    cp932::encodeAppend(text, out);
    return Utf8LineFault::None;
}

std::string linesNotTakenNotice(int64_t lines, int64_t firstLine) {
    std::string notice = "辞書の" + std::to_string(firstLine) + "行目";
    if (lines > 1)
        notice += "など" + std::to_string(lines) + "行";
    return notice + "は、使えない文字があるため読み飛ばしました。";
}

DictionaryFileFormat dictionaryFileFormat(const std::string& path) {
    DictionaryFileFormat format;
    const DictionaryFilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return format;
    // Read as the load reads it: a path to an endless file (a device, a pipe) cannot hold the
    // window either.
    format.content = scanDictionary(file.get(), &format.lineEnd);
    const textencoding::Detected detected = format.content.result();
    format.encoding = detected.encoding;
    format.bom = detected.bom;
    return format;
}

bool keepsItsReading(const DictionaryFileFormat& format, std::string_view appended) {
    textencoding::Detector after = format.content;
    after.feed(appended);
    return after.result().encoding == format.encoding;
}

std::optional<std::string> dictionaryLine(std::string_view standard, std::string_view converted,
                                          const DictionaryFileFormat& format) {
    std::string line;
    line.append(standard).append("\t\t").append(converted);
    if (format.encoding == textencoding::Encoding::Utf8) {
        const std::u16string text = cp932::decode(line);
        for (const char16_t c : text) {
            if (cp932::isRawByteEscape(c))
                return std::nullopt;
        }
        line = cp932::toUtf8(text);
    }
    line += format.lineEnd;
    return line;
}

} // namespace sorvanti
