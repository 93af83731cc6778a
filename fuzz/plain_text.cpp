// Plain-text documents: any file opened and saved, any number of times, shows the same text;
// a code page 932 file's bytes come back as they were but for CR LF line ends and the
// duplicate codes, a UTF-8 file's whatever characters it holds.
#include "fuzz/FuzzSupport.h"
#include "fuzz/QtSupport.h"

#include "documents/PlainText.h"

#include <QTextDocument>

using namespace sorvanti;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::startQt(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes = fuzz::view(data, size);
    plaintext::Format format, written;
    const QString text = plaintext::decode(bytes, &format);
    QTextDocument doc;
    plaintext::setDocumentText(doc, text);
    const std::string saved = plaintext::encode(doc, format, &written);

    if (written.encoding == textencoding::Encoding::Cp932) {
        size_t bareLineFeeds = 0;
        for (size_t i = 0; i < bytes.size(); ++i)
            bareLineFeeds += bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r');
        FUZZ_CHECK(saved.size() == bytes.size() + bareLineFeeds);
    } else if (written == format && (format.lf || bytes.find('\n') == std::string_view::npos)) {
        FUZZ_CHECK(saved == bytes); // nothing to make alike: every byte comes back
    }

    plaintext::Format back;
    const QString reopened = plaintext::decode(saved, &back);
    FUZZ_CHECK(reopened == text);
    QTextDocument again;
    plaintext::setDocumentText(again, reopened);
    FUZZ_CHECK(plaintext::encode(again, back) == saved);
    return 0;
}
