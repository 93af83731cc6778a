#pragma once

#include <QString>

class QWidget;

namespace sorvanti {
struct ProgramOptions;
}

namespace sorvanti::integration {

// "関連付け(&K)": asks in TOKBDkanren whether to register the document type or remove it,
// does so for the program at `programPath` and tells the desktop. Cancel does nothing; a
// failed write throws Error and leaves the desktop untold.
void associate(QWidget* owner, const QString& programPath);

// "設定(&S)": shows the settings dialog with `options`; true, with `options` as the user set
// them, when the dialog was closed with OK.
bool showSettings(QWidget* owner, ProgramOptions& options);

} // namespace sorvanti::integration
