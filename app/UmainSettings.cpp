// The settings the main window reads at start-up and writes at exit, and the colours of
// its surfaces.
#include "app/Umain.h"

#include "app/ScreenFit.h"
#include "app/WindowSettings.h"
#include "settings/Oini.h"

#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QScreen>
#include <QStatusBar>
#include <QTextEdit>

namespace sorvanti {

namespace {

ColorSurface surfaceOfSetting(windowsettings::Id id) {
    using windowsettings::Id;
    switch (id) {
    case Id::FrameAct:
        return ColorSurface::FrameAct;
    case Id::FrameDis:
        return ColorSurface::FrameDis;
    case Id::Edit0:
        return ColorSurface::Edit0;
    case Id::Edit1:
        return ColorSurface::Edit1;
    case Id::IconBar:
        return ColorSurface::IconBar;
    default:
        return ColorSurface::StatusBar;
    }
}

} // namespace

void TVeruzazur::readSettings() {
    using windowsettings::Id;
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QSize screen = primary ? primary->size() : size();
    StoredGeometry stored{x(), y(), width(), height()};
    QString name;
    for (const windowsettings::Entry& e : windowsettings::kEntries) {
        const auto read = [&](int32_t fallback) {
            return ini->ReadInteger(e.section, e.key, fallback);
        };
        switch (e.id) {
        case Id::Width:
            stored.width = read(stored.width);
            break;
        case Id::Height:
            stored.height = read(stored.height);
            break;
        case Id::Top:
            stored.top = read((screen.height() - stored.height) >> 1);
            break;
        case Id::Left:
            stored.left = read((screen.width() - stored.width) >> 1);
            break;
        case Id::Vh:
            // Only 0 and 1 have a layout; any other stored value means side by side and is
            // written back as 1.
            SBvhTag = read(e.fallback) != 0 ? 1 : 0;
            break;
        case Id::Name:
            name = QString::fromStdString(
                ini->ReadString(e.section, e.key, windowsettings::kNoDictionaryName));
            break;
        default:
            setSurfaceColor(surfaceOfSetting(e.id), read(e.fallback));
        }
    }
    // A size or place that no screen can show (a damaged file, a screen since removed) is
    // brought back onto the screen; one that fits is kept exactly.
    QList<QRect> areas;
    if (primary)
        areas << primary->availableGeometry();
    for (const QScreen* s : QGuiApplication::screens())
        if (s != primary)
            areas << s->availableGeometry();
    const QRect shown = fitToScreens(stored, areas);
    resize(shown.size());
    move(shown.topLeft());
    FillCatalogue(name);
}

void TVeruzazur::writeSettings() {
    using windowsettings::Id;
    for (const windowsettings::Entry& e : windowsettings::kEntries) {
        switch (e.id) {
        case Id::Width:
            ini->WriteInteger(e.section, e.key, width());
            break;
        case Id::Height:
            ini->WriteInteger(e.section, e.key, height());
            break;
        case Id::Top:
            ini->WriteInteger(e.section, e.key, y());
            break;
        case Id::Left:
            ini->WriteInteger(e.section, e.key, x());
            break;
        case Id::Vh:
            ini->WriteInteger(e.section, e.key, SBvhTag);
            break;
        case Id::Name:
            ini->WriteString(e.section, e.key, CBdictionary->currentText().toStdString());
            break;
        default:
            ini->WriteInteger(e.section, e.key, surfaceColor(surfaceOfSetting(e.id)));
        }
    }
}

int32_t TVeruzazur::surfaceColor(ColorSurface surface) const {
    switch (surface) {
    case ColorSurface::FrameAct:
        return FrameActColor;
    case ColorSurface::FrameDis:
        return FrameDisColor;
    default:
        return backgroundColor_[static_cast<int>(surface) - static_cast<int>(ColorSurface::Edit0)];
    }
}

void TVeruzazur::setSurfaceColor(ColorSurface surface, int32_t value) {
    switch (surface) {
    case ColorSurface::FrameAct:
        FrameActColor = value;
        ApplyFrameColors();
        return;
    case ColorSurface::FrameDis:
        FrameDisColor = value;
        ApplyFrameColors();
        return;
    case ColorSurface::Edit0:
    case ColorSurface::Edit1:
        colors::paintPane(REedit[surface == ColorSurface::Edit0 ? 0 : 1], value);
        break;
    case ColorSurface::IconBar:
        colors::paintBackground(PiconBar, value);
        break;
    case ColorSurface::StatusBar:
        colors::paintBackground(StatusBar1, value);
        break;
    }
    backgroundColor_[static_cast<int>(surface) - static_cast<int>(ColorSurface::Edit0)] = value;
}

} // namespace sorvanti
