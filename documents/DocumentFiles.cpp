#include "documents/DocumentFiles.h"

#include "documents/PlainText.h"
#include "documents/RtfReader.h"
#include "documents/RtfWriter.h"
#include "toolkit/Error.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
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
    const std::string bytes = readAllBytes(path);
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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        cannotCreate(path);
    if (file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size())) {
        file.cancelWriting();
        throw Error("ストリームへの書き込みに失敗しました");
    }
    if (!file.commit()) {
        // Buffered data reaches the disk only now; a failed rename means the file itself
        // could not be replaced.
        if (file.error() == QFileDevice::WriteError)
            throw Error("ストリームへの書き込みに失敗しました");
        cannotCreate(path);
    }
}

} // namespace sorvanti
