#pragma once

#include <QString>
#include <QStringView>

#include <string>
#include <string_view>

// The bridge between Qt's strings and the core's UTF-16 text (std::u16string): both hold
// the same code units, so text crosses without conversion.
namespace sorvanti {

// The code units of `text`, not copied: valid while `text` lives unchanged.
inline std::u16string_view utf16View(QStringView text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())};
}

inline QString toQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

inline void appendTo(QString& out, std::u16string_view text) {
    out.append(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

} // namespace sorvanti
