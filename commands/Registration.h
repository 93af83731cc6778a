#pragma once

#include <QString>

class QWidget;

namespace sorvanti {

class DictionaryTable;

// "登録" in the window: the dialog, its prefill and the messages around the registration.
namespace registration {

// The dialog's one-line field takes the first line of a text that holds several.
QString firstLine(const QString& text);

// Shows "辞書登録" with the clipboard's text in the field of side `activePane`; on "登録"
// appends the pair to the dictionary file and to `table`. A word that would not read back as
// typed (wordregistration::checkWords), a word that code page 932 cannot hold, an unopenable
// file, a full table or a line that would change how the file reads is a notice; a failed
// write is an error naming the file. Either way nothing changes and the dialog stays open
// with the words as typed.
void registerWord(QWidget* parent, DictionaryTable& table, int activePane);

} // namespace registration
} // namespace sorvanti
