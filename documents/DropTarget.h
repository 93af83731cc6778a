#pragma once

#include <QStringList>

class QMimeData;
class QPoint;
class QWidget;

namespace sorvanti::droptarget {

// The component of `window` under `windowPos` (in the window's coordinates): the innermost
// visible widget there, walked up to the first widget that is one of the window's named
// components. Parts a widget builds for itself (a text edit's viewport and scroll bars, a
// combo box's line edit, the size grip of a status bar) belong to that widget. The window
// itself when no component covers the point; nullptr when the point lies outside it.
QWidget* componentAt(QWidget* window, const QPoint& windowPos);

// The local files among the dropped items, in the order of the drop.
QStringList droppedFiles(const QMimeData* data);

} // namespace sorvanti::droptarget
