// The RTF reader on any file, and the writer's file read and written again: it ends, and
// what the writer wrote reads back as the same text and writes as the same bytes.
#include "fuzz/FuzzSupport.h"
#include "fuzz/QtSupport.h"

#include "documents/RtfReader.h"
#include "documents/RtfWriter.h"

#include <QTextDocument>

using namespace sorvanti;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::startQt(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Every input is taken as RTF, whatever its opening.
    std::string bytes = "{\\rtf1 ";
    bytes.append(fuzz::view(data, size));
    QTextDocument doc;
    FUZZ_CHECK(RtfReader::read(doc, bytes));

    const std::string written = RtfWriter::write(doc);
    QTextDocument back;
    back.setDefaultFont(doc.defaultFont());
    FUZZ_CHECK(RtfReader::read(back, written));
    QString text = doc.toRawText();
    text.remove(QChar::ObjectReplacementCharacter); // objects are not written
    FUZZ_CHECK(back.toRawText() == text);
    FUZZ_CHECK(RtfWriter::write(back) == written);
    return 0;
}
