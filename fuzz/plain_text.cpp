// Plain-text documents: any file opened and saved, any number of times, shows the same text;
// the bytes come back as they were but for CR LF line ends and the duplicate codes.
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
    const QString text = plaintext::decode(bytes);
    QTextDocument doc;
    plaintext::setDocumentText(doc, text);
    const std::string saved = plaintext::encode(doc);

    size_t bareLineFeeds = 0;
    for (size_t i = 0; i < bytes.size(); ++i)
        bareLineFeeds += bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r');
    FUZZ_CHECK(saved.size() == bytes.size() + bareLineFeeds);

    const QString reopened = plaintext::decode(saved);
    FUZZ_CHECK(reopened == text);
    QTextDocument again;
    plaintext::setDocumentText(again, reopened);
    FUZZ_CHECK(plaintext::encode(again) == saved);
    return 0;
}
