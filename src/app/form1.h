#pragma once

#include "dialogs/paneldoorcontrols.h"
#include "picture/picture.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>

class BusDoors;
class FolderBrowser;
class MessageBoxes;
class OpenFileDialog;
class Pacer;
class PanelStart;
class RollSignDeck;
class SignboardController;
class SoundOutput;
class UrlOpener;
class frmSet;

// The bus window `Form1`: the program's start-up window and the owner of everything the user
// works with. It is a composition: it makes the rooms that do the work, wires them to each other
// and to the settings panel, and keeps the operations and handlers the other windows and its own
// controls call by their names, each a short forwarder.
//
// Data flow: the settings panel `frmSet` is the control surface; its signals arrive here as the
// public operations (`Check1_Click`, `HScroll1_Change`, `MnuEditHkPic_Click`, ...). The doors
// (`BusDoors`) read the panel's toggles, speed bars and mode buttons through `PanelDoorControls`
// whenever they need a setting. The roll sign (`RollSignDeck`: the box `Picture1`, the stepping,
// the folder) and the signboard (`SignboardController`: the box `PicKanban`, its frame `shpK_Waku`)
// own their boxes, child widgets of this window. This window paints the bus, then the frame and
// the door leaves over it; the boxes and the decoration `picSlideBase1` lie above. `LoadIni`
// applies the settings file while the window loads and `SaveIni` writes it when the window closes.
//
// All positions are kept in twips (15 to a logical pixel).
class Form1 final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Form1)

public:
    // The operating system's services, created by main() and replaced by fakes in tests. None is
    // owned; each must outlive the window.
    struct Services
    {
        SoundOutput *sound = nullptr;
        Pacer *pacer = nullptr;
        MessageBoxes *messages = nullptr;
        OpenFileDialog *openFile = nullptr;
        FolderBrowser *folders = nullptr;
        UrlOpener *urls = nullptr;
    };

    static constexpr int ClientWidth = 11625; // twips
    static constexpr int ClientHeight = 3225;

    explicit Form1(const Services &services, QWidget *parent = nullptr);
    ~Form1() override;

    // The settings panel; created, hidden, the first time anything asks for it.
    frmSet *settingsPanel();

    // Start-up: applies the settings file, has the panel shown above all windows and sets the
    // title. The caller shows the window afterwards. The panel comes onto the screen right after
    // this window's first paint (at once if that has been), so the bus is not kept waiting for the
    // fonts the panel's captions load.
    void Form_Load();

    // Public operations the dialogs call.
    void Check1_Click();
    void Check2_Click();
    void HScroll1_Change();
    void HScroll2_Change();
    void MnuEditHkPic_Click();
    void MnuHelpVer_Click();
    void picDir();
    void SaveIni();
    void LoadIni();
    // The settings file `SaveIni` and `LoadIni` use; by default the one beside the program file, or
    // the user's own where no user can write there.
    void setSettingsFilePath(const QString &path) { m_settingsFilePath = path; }

    // Closes the window as its title-bar button does: saves the settings and ends the program.
    // Asked for while a door moves (by a termination signal, which the middle door's one event
    // pass could let in), the close runs when the movement has ended, as queued input would.
    void requestClose();

    // Event handlers of the window and its controls.
    void Form_MouseDown(int button, int shift, double x, double y);
    void Form_Unload(int &cancel);
    void Picture1_KeyDown(int keyCode, int shift);
    void Picture1_Click();
    void ImgDesiMaku_Click();
    void Image1_Click(int index);
    void PicKanban_MouseDown(int button, int shift, double x, double y);
    void PicKanban_DblClick();
    void PicKanban_Resize();
    void MnuViewKanban_Click();
    void MnuViewWaku_Click();
    void MnuSetKanban_Click();
    void MnuKanbanReset_Click();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void connectPanel(frmSet *panel);
    // The owner of every window the program opens (dialogs, message boxes, the version window),
    // so that none of them opens under the always-on-top settings panel.
    QWidget *dialogOwner();
    // Runs one fresh folder chooser filled with `current`; its text on OK.
    std::optional<QString> runFolderChooser(const QString &current);

    // Steps of `LoadIni`: applies the file, or says it failed at some step; then the fixed
    // settings of a first start.
    bool restoreSettings();
    // `SaveIni`, which reports a failure in a message box only where `mayShowMessage` says so.
    void saveSettings(const std::function<bool()> &mayShowMessage);
    void recoverSettings();
    QString settingsFilePath() const;

    Services m_services;
    QPointer<frmSet> m_frmSet;
    bool m_closing = false; // the close has begun; it runs once
    Picture m_busPicture;

    PanelDoorControls m_doorControls;
    BusDoors *m_doors;
    RollSignDeck *m_rollSign;
    PanelStart *m_panelStart;
    SignboardController *m_signboard;

    // Settings carried through the settings file.
    QString m_settingsFilePath; // empty: where SettingsFile::pathFor() puts it for this program
    QString m_reservedText; // used by nothing
    qint32 m_reservedNumber1 = 0;
    qint32 m_reservedNumber2 = 0;
    bool m_settingsSaveFailed = false; // the program then ends with a failure exit code
};
