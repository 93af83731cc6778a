#pragma once

// Small file helpers shared by the document tests.
#include <QFile>
#include <QString>

#include <string>

namespace sorvanti::test {

inline std::string readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    const QByteArray data = file.readAll();
    return std::string(data.constData(), size_t(data.size()));
}

inline void writeBytes(const QString& path, const std::string& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
        throw std::runtime_error("cannot write test file " + path.toStdString());
}

inline QString u8(const char* text) {
    return QString::fromUtf8(text);
}

} // namespace sorvanti::test
