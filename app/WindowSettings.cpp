#include "app/WindowSettings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace sorvanti::windowsettings {

const char* const kNoDictionaryName = "辞書を選択して下さい";

std::array<settings::Row<Placement>, 4> placementRows(const char* section) {
    using Row = settings::Row<Placement>;
    return {
        Row{.section = section,
            .key = "Width",
            .number = [](Placement& p) -> int32_t& { return p.stored.width; },
            .computedDefault = [](const Placement& p) { return p.stored.width; },
            .readAs =
                [](const Placement& p, int32_t read) {
                    return storedLength(read, p.minimumWidth, p.stored.width);
                }},
        Row{.section = section,
            .key = "Height",
            .number = [](Placement& p) -> int32_t& { return p.stored.height; },
            .computedDefault = [](const Placement& p) { return p.stored.height; },
            .readAs =
                [](const Placement& p, int32_t read) {
                    return storedLength(read, p.minimumHeight, p.stored.height);
                }},
        Row{.section = section,
            .key = "Top",
            .number = [](Placement& p) -> int32_t& { return p.stored.top; },
            .computedDefault =
                [](const Placement& p) { return centredStart(p.screenHeight, p.stored.height); }},
        Row{.section = section,
            .key = "Left",
            .number = [](Placement& p) -> int32_t& { return p.stored.left; },
            .computedDefault =
                [](const Placement& p) { return centredStart(p.screenWidth, p.stored.width); }},
    };
}

void readPlacement(QWidget& window, const Oini& ini, const char* section) {
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QSize screen = primary ? primary->size() : window.size();
    const QSize minimum = window.minimumSize().expandedTo(window.minimumSizeHint());
    Placement placement{{window.x(), window.y(), window.width(), window.height()},
                        screen.width(),
                        screen.height(),
                        minimum.width(),
                        minimum.height()};
    settings::readRows(placementRows(section), ini, placement);
    QList<QRect> areas;
    if (primary)
        areas << primary->availableGeometry();
    for (const QScreen* s : QGuiApplication::screens())
        if (s != primary)
            areas << s->availableGeometry();
    const QRect shown = fitToScreens(placement.stored, areas);
    window.resize(shown.size());
    window.move(shown.topLeft());
}

void writePlacement(const QWidget& window, Oini& ini, const char* section) {
    Placement placement{{window.x(), window.y(), window.width(), window.height()}};
    settings::writeRows(placementRows(section), placement, ini);
}

std::span<const settings::Row<Choices>> choiceRows() {
    using Row = settings::Row<Choices>;
    static const Row rows[] = {
        // Only 0 and 1 have a layout; any other stored value means side by side and is
        // written back as 1.
        Row{.section = "分割",
            .key = "Vh",
            .number = [](Choices& c) -> int32_t& { return c.vh; },
            .readAs = settings::onOrOff<Choices>},
        Row{.section = "辞書",
            .key = "Name",
            .text = [](Choices& c) -> std::string& { return c.dictionaryName; },
            .textDefault = kNoDictionaryName},
    };
    return rows;
}

} // namespace sorvanti::windowsettings
