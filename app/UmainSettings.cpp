// The settings the main window reads at start-up and writes at exit, row by row.
#include "app/Umain.h"

#include "app/WindowSettings.h"
#include "dictedit/TFjisho.h"
#include "settings/Oini.h"
#include "settings/SettingRows.h"

#include <QComboBox>

namespace sorvanti {

void TVeruzazur::readSettings() {
    windowsettings::readPlacement(*this, *ini, windowsettings::kMainSection);
    settings::readRows(SurfaceColors::settingRows(), *ini, *colors_);
    colors_->paintAll();
    windowsettings::Choices choices;
    settings::readRows(windowsettings::choiceRows(), *ini, choices);
    SBvhTag = choices.vh;
    RecentFiles::Stored recent;
    settings::readRows(RecentFiles::settingRows(), *ini, recent);
    recent_.read(recent);
    fillRecentMenu();
    FillCatalogue(QString::fromStdString(choices.dictionaryName));
    // Put in force once the panes are reset.
    settings::readRows(ProgramOptions::settingRows(), *ini, options_);
}

void TVeruzazur::writeSettings() {
    windowsettings::writePlacement(*this, *ini, windowsettings::kMainSection);
    if (Fjisho)
        windowsettings::writePlacement(*Fjisho, *ini, windowsettings::kEditorSection);
    settings::writeRows(SurfaceColors::settingRows(), *colors_, *ini);
    windowsettings::Choices choices{SBvhTag, CBdictionary->currentText().toStdString()};
    settings::writeRows(windowsettings::choiceRows(), choices, *ini);
    RecentFiles::Stored recent = recent_.stored();
    settings::writeRows(RecentFiles::settingRows(), recent, *ini);
    settings::writeRows(ProgramOptions::settingRows(), options_, *ini);
}

} // namespace sorvanti
