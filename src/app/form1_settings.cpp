// The settings file: written when the bus window closes, read while it loads.
#include "app/firstpaintwatch.h"
#include "app/form1.h"
#include "app/storedplace.h"
#include "core/twips.h"
#include "dialogs/frmset.h"
#include "platform/messageboxes.h"
#include "platform/programfile.h"
#include "rollsign/rollsigndeck.h"
#include "settings/settingsfile.h"
#include "settings/settingsline.h"
#include "signboard/signboardcontroller.h"

#include <QRadioButton>
#include <QScrollBar>
#include <QWindow>

namespace {

// Every speed the settings accept is one the panel's bars can hold, and every bar value is kept.
static_assert(frmSet::SpeedMin == SettingsRules::SpeedMin && frmSet::SpeedMax == SettingsRules::SpeedMax);

// The bus window's outer height, title bar and borders included, in pixels. A window system
// knows its frame only once the window is on the screen; before that this is the client height.
int outerHeight(QWidget *window)
{
    if (QWindow *handle = window->windowHandle()) {
        return handle->frameGeometry().height();
    }
    return window->frameGeometry().height();
}

} // namespace

void Form1::SaveIni()
{
    saveSettings([] { return true; });
}

void Form1::saveSettings(const std::function<bool()> &mayShowMessage)
{
    frmSet *panel = settingsPanel();
    AppSettings settings;
    settings.formLeft = Twips::fromPixels(pos().x());
    settings.formTop = Twips::fromPixels(pos().y());
    settings.panelLeft = Twips::fromPixels(panel->pos().x());
    settings.panelTop = Twips::fromPixels(panel->pos().y());
    settings.desiMakuPath = m_rollSign->rollSign().DesiMakuPath();
    settings.reservedText = m_reservedText;
    settings.reservedNumber1 = m_reservedNumber1;
    settings.reservedNumber2 = m_reservedNumber2;
    settings.kanbanPath = m_signboard->path();
    settings.kanbanLeft = m_signboard->signboard().left();
    settings.kanbanTop = m_signboard->signboard().top();
    settings.kanbanShown = m_signboard->isBoxTicked();
    settings.frameShown = m_signboard->isFrameTicked();
    settings.frontSpeed = panel->HScroll1()->value();
    settings.middleSpeed = panel->HScroll2()->value();
    settings.middleDoorMode = std::int16_t(panel->middleDoorMode());

    SettingsFile file(settingsFilePath());
    // The exit code reports the last save: a failed save at the session's end followed by a close
    // that saves ends the program well.
    m_settingsSaveFailed = !file.write(SettingsLine::encode(settings));
    if (!m_settingsSaveFailed) {
        return;
    }
    // The one failure nobody traps: it is reported, and the program ends as it was about to.
    // The old file stays as it was.
    const QString text = tr("設定ファイルを保存できませんでした。") + QLatin1String("\n\n") + file.errorString();
    if (m_services.messages && mayShowMessage()) {
        m_services.messages->show(dialogOwner(), MessageBoxes::DefaultTitle, text, MessageBoxes::Icon::Critical);
    } else {
        qWarning("%s", qUtf8Printable(text));
    }
}

QString Form1::settingsFilePath() const
{
    if (!m_settingsFilePath.isEmpty()) {
        return m_settingsFilePath;
    }
    return SettingsFile::pathFor(ProgramFile::folder(), ProgramFile::baseName());
}

void Form1::LoadIni()
{
    // Any failure gives the settings of a first start, without a word to the user. What was
    // applied before the failure stays.
    if (!restoreSettings()) {
        recoverSettings();
    }
}

bool Form1::restoreSettings()
{
    const Result<QString> text = SettingsFile(settingsFilePath()).read();
    if (!text) {
        return false;
    }
    const Result<AppSettings, SettingsDecodeError> line = SettingsLine::decode(*text);
    const AppSettings &settings = line ? *line : line.error().settings;

    // The texts and the reserved values take what was read even when a later field fails.
    const auto wasRead = [&line](SettingsField field) {
        return line || line.error().wasRead(field);
    };
    if (wasRead(SettingsField::DesiMakuPath)) {
        m_rollSign->rollSign().setDesiMakuPath(settings.desiMakuPath);
    }
    if (wasRead(SettingsField::ReservedText)) {
        m_reservedText = settings.reservedText;
    }
    if (wasRead(SettingsField::ReservedNumber1)) {
        m_reservedNumber1 = settings.reservedNumber1;
    }
    if (wasRead(SettingsField::ReservedNumber2)) {
        m_reservedNumber2 = settings.reservedNumber2;
    }
    if (wasRead(SettingsField::KanbanPath)) {
        m_signboard->setPath(settings.kanbanPath);
    }
    if (!line) {
        return false;
    }

    placeStoredWindow(this, settings.formLeft, settings.formTop);
    frmSet *panel = settingsPanel();
    placeStoredWindow(panel, settings.panelLeft, settings.panelTop);

    if (!m_signboard->restore(settings.kanbanShown, settings.frameShown, settings.kanbanLeft, settings.kanbanTop)) {
        return false;
    }

    // A speed is set only when it is one the bar can hold; setting the value the bar already has
    // changes nothing, so its label keeps showing "0".
    if (!SettingsRules::isSpeed(settings.frontSpeed)) {
        return false;
    }
    panel->HScroll1()->setValue(settings.frontSpeed);
    if (!SettingsRules::isSpeed(settings.middleSpeed)) {
        return false;
    }
    panel->HScroll2()->setValue(settings.middleSpeed);

    if (!m_rollSign->showStoredFolder()) {
        return false;
    }

    if (!SettingsRules::isMiddleDoorMode(settings.middleDoorMode)) {
        return false;
    }
    panel->Option1(settings.middleDoorMode)->setChecked(true);
    return true;
}

void Form1::recoverSettings()
{
    move(0, 0);
    frmSet *panel = settingsPanel();
    panel->move(0, outerHeight(this));
    // Where windows have frames drawn by a window manager (X11), the bus window's outer height is
    // known only once it is on the screen, long after the settings were applied: the panel is
    // placed again below it as the bus window is first painted.
    new FirstPaintWatch(this, [this, panel = QPointer<QWidget>(panel)] {
        if (panel && isVisible()) {
            panel->move(0, outerHeight(this));
        }
    });
    MnuKanbanReset_Click();
    panel->HScroll1()->setValue(SettingsRules::FirstStartFrontSpeed);
    panel->HScroll2()->setValue(SettingsRules::FirstStartMiddleSpeed);
    panel->Option1(SettingsRules::FirstStartMiddleDoorMode)->setChecked(true);
}
