// The dictionary editor's file: opening, saving (with what changed elsewhere meanwhile), a
// new dictionary, and closing with unsaved changes.
#include "dictedit/TFjisho.h"

#include "conversion/DictionaryLoader.h"
#include "conversion/NewDictionary.h"
#include "dictedit/DictionaryModel.h"
#include "dictedit/DictionaryView.h"
#include "dictedit/TOKBDshinki.h"
#include "toolkit/DialogRunner.h"
#include "toolkit/Error.h"
#include "toolkit/ErrorText.h"
#include "toolkit/Guard.h"
#include "toolkit/Messages.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QStatusBar>

#include <cerrno>

namespace sorvanti {

namespace {

const QString kCannotOpen = QStringLiteral("辞書ファイルが開けません。");
const QString kTooLarge = QStringLiteral("辞書ファイルが大きすぎるので、編集できません。");
const QString kAskSave = QStringLiteral("辞書「%1」は変更されています。保存しますか？");
const QString kChangedElsewhere = QStringLiteral(
    "辞書ファイルが他で変更されています。\n"
    "「保存」でこの表の内容を書き込み、「変更を破棄」で表の変更を捨てて読み直します。");
const QString kChangedNoted =
    QStringLiteral("辞書ファイルが他で変更されています。保存するときに確かめます。");
const QString kMissingNoted =
    QStringLiteral("辞書ファイルが見つかりません。保存すると作り直します。");
const QString kTakenIn =
    QStringLiteral("辞書ファイルに書き足された %1 行を、表の最後に取り込みました。");
const QString kReread = QStringLiteral("辞書ファイルを読み直しました。");
const QString kSaved = QStringLiteral("保存しました。");
const QString kRestored = QStringLiteral("前回の編集内容を復元しました。保存していません。");
const QString kWouldReadAsUtf8 = QStringLiteral(
    "このまま保存すると辞書ファイル全体が UTF-8 として読まれてしまうので、保存できません。");

QString nameProblemMessage(newdictionary::NameProblem problem, const QString& name) {
    using newdictionary::NameProblem;
    switch (problem) {
    case NameProblem::Empty:
        return QStringLiteral("辞書の名前を入力して下さい。");
    case NameProblem::Slash:
        return QStringLiteral("辞書の名前に「/」は使えません。");
    case NameProblem::Zero:
        return QStringLiteral("辞書の名前に使えない文字があります。");
    case NameProblem::Dots:
        return QStringLiteral("「.」と「..」は辞書の名前にできません。");
    case NameProblem::Exists:
        return QStringLiteral("辞書「%1」はもうあります。").arg(name);
    case NameProblem::TooLong:
        return QStringLiteral("辞書の名前が長すぎます。");
    case NameProblem::None:
        break;
    }
    return {};
}

} // namespace

QString TFjisho::path() const {
    if (name_.isEmpty())
        return {};
    return QString::fromStdString(dictionaryPath(dataFolder_.toStdString(), name_.toStdString()));
}

bool TFjisho::modified() const {
    return !model_->undoStack().isClean();
}

bool TFjisho::openDictionary(const QString& name) {
    if (name == name_ && !name.isEmpty())
        return true;
    return maybeSave() && load(name);
}

bool TFjisho::load(const QString& name) {
    DictionaryFileRead read;
    if (!name.isEmpty()) {
        read = readDictionaryFile(dictionaryPath(dataFolder_.toStdString(), name.toStdString()));
        if (read.error != 0) {
            ShowMessage(this, read.error == EFBIG ? kTooLarge : kCannotOpen);
            return false;
        }
    }
    name_ = name;
    stamp_ = read.stamp;
    model_->reset(DictionaryDocument(read.bytes));
    updateTitle();
    SGjisho->setFocus();
    return true;
}

void TFjisho::restoreTable(const QString& name, DictionaryDocument document,
                           const FileStamp& stamp) {
    name_ = name;
    stamp_ = stamp;
    model_->reset(std::move(document));
    model_->undoStack().resetClean();
    updateTitle();
    statusBar()->showMessage(kRestored);
    guarded(this, [this] { takeInOutsideChanges(true); });
}

void TFjisho::endWithoutAsking() {
    SGjisho->commitEditing();
    asking_ = false;
}

bool TFjisho::takeInOutsideChanges(bool quiet) {
    if (name_.isEmpty())
        return true;
    const FileLook look = lookAgain(path().toStdString(), stamp_);
    switch (look.change) {
    case FileChange::None:
        return true;
    case FileChange::Missing:
        if (quiet)
            statusBar()->showMessage(kMissingNoted);
        return true;
    case FileChange::Appended: {
        const int before = model_->rowCount();
        if (model_->appendFileBytes(look.appended)) {
            stamp_ = look.now.stamp;
            statusBar()->showMessage(kTakenIn.arg(model_->rowCount() - before));
            return true;
        }
        break;
    }
    case FileChange::Changed:
        break;
    }
    // Changed otherwise: a table without changes of its own simply follows the file.
    if (!modified() && look.now.error == 0) {
        stamp_ = look.now.stamp;
        model_->reset(DictionaryDocument(look.now.bytes));
        statusBar()->showMessage(kReread);
        return true;
    }
    if (quiet) {
        statusBar()->showMessage(kChangedNoted);
        return true;
    }
    const QMessageBox::StandardButton answer = DialogRunner::current().messageBox(
        this, QMessageBox::Warning, applicationTitle(), kChangedElsewhere,
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    if (answer == QMessageBox::Discard)
        load(name_);
    return answer == QMessageBox::Save;
}

bool TFjisho::save() {
    bool written = false;
    guarded(this, [this, &written] {
        SGjisho->commitEditing();
        if (name_.isEmpty() || !takeInOutsideChanges(false))
            return;
        switch (model_->document().reading()) {
        case DictionaryDocument::Reading::Same:
            break;
        case DictionaryDocument::Reading::NeedsMark:
            model_->setBom(true);
            break;
        case DictionaryDocument::Reading::OtherEncoding:
            ShowMessage(this, kWouldReadAsUtf8);
            return;
        }
        written = writeFile();
    });
    return written;
}

bool TFjisho::writeFile() {
    const std::string file = path().toStdString();
    if (const int error = writeDictionaryFile(file, model_->document().fileBytes(), stamp_))
        throw Error(file + " に書き込めません: " + systemErrorText(error));
    model_->undoStack().setClean();
    updateTitle();
    statusBar()->showMessage(kSaved, 3000);
    emit saved(path());
    return true;
}

bool TFjisho::maybeSave() {
    SGjisho->commitEditing();
    if (!modified())
        return true;
    const QMessageBox::StandardButton answer = DialogRunner::current().messageBox(
        this, QMessageBox::Question, applicationTitle(), kAskSave.arg(name_),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    if (answer == QMessageBox::Save)
        return save();
    if (answer != QMessageBox::Discard)
        return false;
    // The table goes back to the file (or to nothing, when that cannot be read any more).
    if (!load(name_))
        load({});
    return true;
}

void TFjisho::Hozon1Click() {
    save();
}

void TFjisho::Shinki1Click() {
    if (!maybeSave())
        return;
    TOKBDshinki dialog(this);
    while (DialogRunner::current().execDialog(dialog) == QDialog::Accepted) {
        const QString name = dialog.Ename->text();
        const std::string folder = dataFolder_.toStdString();
        const auto problem = newdictionary::checkName(folder, name.toStdString());
        if (problem != newdictionary::NameProblem::None) {
            ShowMessage(this, nameProblemMessage(problem, name));
            continue;
        }
        if (const int error = newdictionary::create(folder, name.toStdString()))
            throw Error(dictionaryPath(folder, name.toStdString()) +
                        " を作成できません: " + systemErrorText(error));
        load(name);
        emit created(name);
        return;
    }
}

void TFjisho::closeEvent(QCloseEvent* event) {
    if (!asking_ || maybeSave())
        event->accept();
    else
        event->ignore();
}

void TFjisho::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // Coming back to the editor: what was done to the file meanwhile shows at once.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        guarded(this, [this] { takeInOutsideChanges(true); });
}

} // namespace sorvanti
