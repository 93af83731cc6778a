#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace sorvanti {

// The part shared by the open and the save dialog components: the proposed and chosen
// FileName, the "|" separated Filter, the 1-based FilterIndex kept between uses, and
// the DefaultExt added to a name typed without an extension.
class FileDialog : public QObject {
    Q_OBJECT
public:
    QString FileName;
    QString Filter;
    int FilterIndex = 1;
    QString DefaultExt;
    QString Title;

    // Shows the dialog through the dialog runner; true and the new FileName/FilterIndex
    // when the user confirmed, false (nothing changed) on cancel.
    bool Execute();

protected:
    FileDialog(bool save, QObject* owner);

private:
    bool save_;
};

} // namespace sorvanti
