#pragma once

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QString>

namespace sorvanti {

// Adds the item `caption` named `name` to `menu`; its key `key`, if any, is shown beside the
// caption.
inline QAction* addItem(QMenu* menu, const char* name, const QString& caption,
                        const QKeySequence& key = {}) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(key);
    return action;
}

} // namespace sorvanti
