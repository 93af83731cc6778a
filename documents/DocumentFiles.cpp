#include "documents/DocumentFiles.h"

#include "documents/PlainText.h"
#include "documents/RtfReader.h"
#include "documents/RtfWriter.h"
#include "toolkit/Error.h"
#include "toolkit/FileReplacement.h"

#include <QFile>
#include <QFileInfo>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <string>

namespace sorvanti {

namespace {

[[noreturn]] void cannotOpen(const QString& path) {
    throw Error("ファイル " + path.toStdString() + " は開けません");
}

[[noreturn]] void cannotCreate(const QString& path) {
    throw Error("ファイル " + path.toStdString() + " を作成できません");
}

std::string readAllBytes(const QString& path) {
    // A folder opens on some systems; it is no document either way.
    if (QFileInfo(path).isDir())
        cannotOpen(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        cannotOpen(path);
    std::string bytes;
    const qint64 size = file.size();
    if (size > 0 && !file.isSequential())
        bytes.reserve(size_t(size));
    char buffer[1 << 16];
    for (;;) {
        const qint64 got = file.read(buffer, sizeof buffer);
        if (got < 0)
            throw Error("ストリームからの読み込みに失敗しました");
        if (got == 0)
            break;
        bytes.append(buffer, size_t(got));
    }
    return bytes;
}

} // namespace

void readDocument(QTextDocument& doc, const QString& path, bool plainText,
                  plaintext::Format* format) {
    doc.clear();
    if (format)
        *format = {};
    readDocumentBytes(doc, readAllBytes(path), plainText, format);
}

void readDocumentBytes(QTextDocument& doc, std::string_view bytes, bool plainText,
                       plaintext::Format* format) {
    if (!plainText && RtfReader::read(doc, bytes))
        return;
    plaintext::setDocumentText(doc, plaintext::decode(bytes, format));
}

void readDocument(QTextEdit& edit, const QString& path, bool plainText, plaintext::Format* format) {
    // Without a caret while the text goes in (as QTextEdit::setPlainText() does it), so that
    // none is carried to the end of the text.
    edit.setTextCursor(QTextCursor());
    struct FreshCaret {
        QTextEdit& edit;
        ~FreshCaret() { edit.setTextCursor(QTextCursor(edit.document())); }
    } fresh{edit};
    readDocument(*edit.document(), path, plainText, format);
}

void writeDocument(const QTextDocument& doc, const QString& path, bool plainText,
                   const plaintext::Format& format, plaintext::Format* written) {
    // Encode first: a refused save must not touch the file.
    if (written)
        *written = format;
    const std::string bytes =
        plainText ? plaintext::encode(doc, format, written) : RtfWriter::write(doc);
    // Beside the file and put in its place when complete; a device (/dev/full, a terminal)
    // is written in place, so that a write it refuses is reported.
    FileReplacement file;
    if (file.open(path.toStdString(), FileReplacement::Special::WriteInPlace) != 0)
        cannotCreate(path);
    if (file.write(bytes) != 0)
        throw Error("ストリームへの書き込みに失敗しました");
    bool renameFailed = false;
    if (file.commit(&renameFailed) != 0) {
        // Data reaches the disk only at the commit; a failed rename means the file itself
        // could not be replaced.
        if (renameFailed)
            cannotCreate(path);
        throw Error("ストリームへの書き込みに失敗しました");
    }
}

} // namespace sorvanti
