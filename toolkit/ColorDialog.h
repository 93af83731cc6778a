#pragma once

#include <QColor>
#include <QObject>

namespace sorvanti {

// The colour dialog component: Color is the start value and, after a confirmed
// Execute(), the chosen colour. FullOpen asks for the dialog's full form.
class ColorDialog : public QObject {
    Q_OBJECT
public:
    explicit ColorDialog(QObject* owner) : QObject(owner) {}

    QColor Color;
    bool FullOpen = false;

    bool Execute();
};

} // namespace sorvanti
