#pragma once

#include "ProgramFolder.h"
#include "ScriptedRunner.h"
#include "documents/Pane.h"
#include "support/Utf8.h"
#include "toolkit/Guard.h"
#include "toolkit/OpenDialog.h"
#include "toolkit/SaveDialog.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace sorvanti::test {

// A shown main window on a temporary program folder, with its documents beside it and a
// scripted user at every dialog.
class DocumentWindow : public ::testing::Test {
protected:
    void SetUp() override {
        // A dictionary folder with a dictionary, so that start-up shows no notice.
        program.addDictionary("方言", "犬 わんこ\n");
        w = program.openWindow();
        w->show();
        QApplication::processEvents();
    }

    // Full path of a file in the documents folder.
    QString path(const std::string& name) const {
        return QString::fromStdString(docs.path() + name);
    }
    QString write(const std::string& name, std::string_view bytes) const {
        return QString::fromStdString(docs.write(name, bytes));
    }
    static std::string bytesOf(const QString& file) {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            return "<missing>";
        const QByteArray data = f.readAll();
        return std::string(data.constData(), size_t(data.size()));
    }
    static std::string cp932(std::string_view utf8) { return ProgramFolder::cp932(utf8); }

    QString text(int p) const { return w->pane(p).edit()->toPlainText(); }
    bool modified(int p) const { return w->pane(p).edit()->document()->isModified(); }
    bool plain(int p) const { return w->pane(p).isPlainText(); }
    QString documentName(int p) const { return w->pane(p).fileName(); }
    void makeActive(int p) { w->SetActivePane(p); }
    // Text that the user typed: the pane's modified flag is set.
    void type(int p, const QString& t) {
        w->pane(p).edit()->setPlainText(t);
        w->pane(p).edit()->document()->setModified(true);
    }
    std::pair<bool, bool> saveItems() const {
        return {w->Save1->isEnabled(), w->SaveAs1->isEnabled()};
    }
    // A menu item chosen by the user, whatever its enabled state: the handler runs in the
    // guard that shows escaping errors.
    void choose(void (TVeruzazur::*handler)(QObject*)) {
        guarded(w.get(), [&] { (w.get()->*handler)(nullptr); });
    }

    ScriptedRunner runner;
    ProgramFolder program;
    TempFolder docs;
    std::unique_ptr<TVeruzazur> w;
};

} // namespace sorvanti::test
