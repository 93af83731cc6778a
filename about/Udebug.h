#pragma once

#include <QWidget>

class QPlainTextEdit;
class QSplitter;
class QStatusBar;
class QTableWidget;

namespace sorvanti {

// A window for looking at values while debugging: a grid above a text area. The program
// creates it hidden and never shows, fills or reads it.
class TFdebug : public QWidget {
    Q_OBJECT
public:
    explicit TFdebug(QWidget* parent = nullptr);

    QTableWidget* SG = nullptr;
    QSplitter* Splitter1 = nullptr;
    QPlainTextEdit* M = nullptr;
    QStatusBar* StatusBar1 = nullptr;
};

extern TFdebug* Fdebug;

} // namespace sorvanti
