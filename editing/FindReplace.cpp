#include "editing/FindReplace.h"

#include "editing/FindReplaceDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>

namespace sorvanti {

namespace {

const QChar kParagraphSeparator(0x2029);

QString quoted(const QString& text) {
    return QStringLiteral("「") + text + QStringLiteral("」");
}

} // namespace

FindReplace::FindReplace(QWidget* window, Note note) : QObject(window), note_(std::move(note)) {
    dialog_ = new FindReplaceDialog(window);
    connect(dialog_->Bnext, &QPushButton::clicked, this, &FindReplace::findNext);
    connect(dialog_->Bprevious, &QPushButton::clicked, this, &FindReplace::findPrevious);
    connect(dialog_->Breplace, &QPushButton::clicked, this, &FindReplace::replace);
    connect(dialog_->BreplaceAll, &QPushButton::clicked, this, &FindReplace::replaceAll);

    findNextAction_ = new QAction(QStringLiteral("次を検索"), this);
    findNextAction_->setObjectName(QStringLiteral("FindNext1"));
    findNextAction_->setShortcut(QKeySequence(Qt::Key_F3));
    connect(findNextAction_, &QAction::triggered, this, &FindReplace::findNext);
    findPreviousAction_ = new QAction(QStringLiteral("前を検索"), this);
    findPreviousAction_->setObjectName(QStringLiteral("FindPrevious1"));
    findPreviousAction_->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    connect(findPreviousAction_, &QAction::triggered, this, &FindReplace::findPrevious);
    // The keys work in the dialog too; the window adds the actions for itself.
    dialog_->addActions({findNextAction_, findPreviousAction_});
}

void FindReplace::setPane(QTextEdit* pane) {
    pane_ = pane;
    dialog_->setEditable(pane && !pane->isReadOnly());
}

textsearch::Query FindReplace::query() const {
    return {dialog_->Efind->text(), dialog_->CBcase->isChecked()};
}

void FindReplace::showFind() {
    show(false);
}

void FindReplace::showReplace() {
    show(true);
}

void FindReplace::show(bool replacing) {
    if (pane_) {
        const QString selected = pane_->textCursor().selectedText();
        if (!selected.isEmpty() && !selected.contains(kParagraphSeparator))
            dialog_->Efind->setText(selected);
        dialog_->setEditable(!pane_->isReadOnly());
    }
    dialog_->setReplacing(replacing);
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
    dialog_->Efind->setFocus();
    dialog_->Efind->selectAll();
}

void FindReplace::findNext() {
    find(false);
}

void FindReplace::findPrevious() {
    find(true);
}

void FindReplace::find(bool backward) {
    if (query().text.isEmpty()) {
        showFind();
        return;
    }
    if (!pane_)
        return;
    const auto found = backward ? textsearch::findPrevious(*pane_, query())
                                : textsearch::findNext(*pane_, query());
    report(found, backward);
}

void FindReplace::report(textsearch::Found found, bool backward) {
    if (!note_)
        return;
    switch (found) {
    case textsearch::Found::Match:
        note_(QString());
        break;
    case textsearch::Found::Wrapped:
        note_(backward ? QStringLiteral("文書の末尾から検索しました")
                       : QStringLiteral("文書の先頭から検索しました"));
        break;
    case textsearch::Found::NotFound:
        note_(quoted(query().text) + QStringLiteral("は見つかりません"));
        break;
    }
}

bool FindReplace::editable() {
    if (!pane_)
        return false;
    const bool editable = !pane_->isReadOnly();
    dialog_->setEditable(editable);
    if (!editable && note_)
        note_(QStringLiteral("この欄は読み取り専用のため置換できません"));
    return editable;
}

void FindReplace::replace() {
    if (query().text.isEmpty() || !editable())
        return;
    textsearch::replaceSelection(*pane_, query(), dialog_->Ereplace->text());
    report(textsearch::findNext(*pane_, query()), false);
}

int FindReplace::replaceAll() {
    if (query().text.isEmpty() || !editable())
        return 0;
    const int count = textsearch::replaceAll(*pane_, query(), dialog_->Ereplace->text());
    if (count == 0)
        report(textsearch::Found::NotFound, false);
    else if (note_)
        note_(QStringLiteral("%1 個置換しました").arg(count));
    return count;
}

} // namespace sorvanti
