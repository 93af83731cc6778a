#pragma once

#include "editing/TextSearch.h"

#include <QObject>
#include <QPointer>
#include <QTextEdit>

#include <functional>

class QAction;
class QWidget;

namespace sorvanti {

class FindReplaceDialog;

// Find and replace for a window: one non-modal dialog, hidden until asked for, acting on the
// pane it was last given. Notes for the user (wrapped around, not found, how many replaced)
// go to the callback, which the window shows on its status bar; an empty note clears the
// last one.
//
// The window calls:
//   FindReplace* find = new FindReplace(window, [=](const QString& s) { ...show s... });
//   find->setPane(activeEdit);        // again whenever the active pane changes
//   "検索(&F)..." → find->showFind(); "置換(&E)..." → find->showReplace();
//   window->addActions({find->findNextAction(), find->findPreviousAction()}); // F3, Shift+F3
class FindReplace : public QObject {
    Q_OBJECT
public:
    using Note = std::function<void(const QString&)>;

    // The dialog opens over `window`, which also owns this object.
    FindReplace(QWidget* window, Note note);

    void setPane(QTextEdit* pane);

    // "検索" and "置換": show the dialog in that form, raised, with the find field focused
    // and selected; a word selected in the pane (on one line) becomes what to find.
    void showFind();
    void showReplace();

    // F3 and Shift+F3 (also the dialog's buttons). Without anything to find yet they open
    // "検索" instead.
    void findNext();
    void findPrevious();
    // "置換": replaces the selection when it is a match, then selects the next match.
    void replace();
    // "すべて置換"; returns how many it replaced.
    int replaceAll();

    // "次を検索" (F3) and "前を検索" (Shift+F3), to add to the window so the keys work
    // wherever the focus is in it.
    QAction* findNextAction() const { return findNextAction_; }
    QAction* findPreviousAction() const { return findPreviousAction_; }

    FindReplaceDialog* dialog() const { return dialog_; }
    textsearch::Query query() const;

private:
    void show(bool replacing);
    void find(bool backward);
    void report(textsearch::Found found, bool backward);
    bool editable();

    Note note_;
    QPointer<QTextEdit> pane_;
    FindReplaceDialog* dialog_ = nullptr;
    QAction* findNextAction_ = nullptr;
    QAction* findPreviousAction_ = nullptr;
};

} // namespace sorvanti
