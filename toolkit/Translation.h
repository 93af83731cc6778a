#pragma once

namespace sorvanti {

// Makes the toolkit's own texts (dialog buttons, file and print dialogs) Japanese like the
// rest of the program, whatever the desktop's language. Returns false when the translation
// is not installed; the texts then stay in the toolkit's English.
bool installToolkitTranslation();

} // namespace sorvanti
