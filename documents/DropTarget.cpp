#include "documents/DropTarget.h"

#include <QMimeData>
#include <QPoint>
#include <QStringList>
#include <QUrl>
#include <QWidget>

namespace sorvanti::droptarget {

namespace {

// Components carry their names; the widgets Qt creates inside them are unnamed or
// named "qt_...".
bool isComponent(const QWidget* widget) {
    const QString name = widget->objectName();
    return !name.isEmpty() && !name.startsWith(QLatin1String("qt_"));
}

} // namespace

QWidget* componentAt(QWidget* window, const QPoint& windowPos) {
    if (!window->rect().contains(windowPos))
        return nullptr;
    QWidget* widget = window->childAt(windowPos);
    while (widget && widget != window && !isComponent(widget))
        widget = widget->parentWidget();
    return widget ? widget : window;
}

QStringList droppedFiles(const QMimeData* data) {
    QStringList paths;
    if (data && data->hasUrls())
        for (const QUrl& url : data->urls())
            if (url.isLocalFile())
                paths << url.toLocalFile();
    return paths;
}

} // namespace sorvanti::droptarget
