#pragma once

#include <QColor>
#include <QFont>
#include <QObject>

namespace sorvanti {

// The font dialog component: Font and Color are the start values and, after a confirmed
// Execute(), the chosen ones.
class FontDialog : public QObject {
    Q_OBJECT
public:
    explicit FontDialog(QObject* owner) : QObject(owner) {}

    QFont Font;
    QColor Color;

    bool Execute();
};

} // namespace sorvanti
