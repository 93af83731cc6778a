#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace sorvanti {

// The part shared by the open and the save dialog components: the proposed and chosen
// FileName, the "|" separated Filter, the 1-based FilterIndex kept between uses, and
// DefaultExt, which when set makes a name typed without an extension receive the
// extension of the chosen type.
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

    // `name` with the extension of entry `filterIndex` (1-based) of `filter` added when
    // `defaultExt` is not empty and the name has no extension: "/tmp/memo" with the
    // "*.txt" entry chosen gives "/tmp/memo.txt"; "/tmp/memo.rtf" stays as typed.
    static QString withChosenExtension(const QString& name, const QString& filter, int filterIndex,
                                       const QString& defaultExt);

protected:
    FileDialog(bool save, QObject* owner);

private:
    bool save_;
};

} // namespace sorvanti
