#pragma once

class QFileDialog;

namespace sorvanti {

// Makes the toolkit's own texts (dialog buttons, file and print dialogs) Japanese like the
// rest of the program, whatever the desktop's language: Qt's Japanese translation, our own
// Japanese for the few texts that it leaves in English, and Japanese as the default locale
// (dates and numbers). Returns false when Qt's translation is not installed; its texts then
// stay in the toolkit's English.
bool installToolkitTranslation();

// Shows the sizes and dates of a file dialog's detail view in the default locale's form: the
// toolkit writes them in the desktop's ("9 Dec 2024 14:37", "3 KiB", "199 bytes").
void showFileDetailsInJapanese(QFileDialog& dialog);

} // namespace sorvanti
