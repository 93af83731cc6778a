#pragma once

#include <QString>

class QWidget;

namespace sorvanti {

// The application's title: the program file's name without its folder, cut before its
// first ".", the first letter kept and the rest in lower case ("/x/SORVANTI.bin" -> "Sorvanti").
QString applicationTitleFor(const QString& programPath);

// The title that message and error boxes carry (QCoreApplication::applicationName()).
QString applicationTitle();

// The program's own notices: a modal box with the fixed text and one OK button.
void ShowMessage(QWidget* parent, const QString& text);

// The standard error box: error icon, OK, the application title, the message and ".".
void ReportException(QWidget* parent, const QString& message);

} // namespace sorvanti
