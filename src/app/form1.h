#pragma once

#include "app/paneldoorcontrols.h"
#include "doors/dooranimation.h"
#include "doors/doorleaves.h"
#include "doors/doorsounds.h"
#include "picture/picture.h"
#include "rollsign/rollsign.h"
#include "signboard/signboard.h"
#include "signboard/signboardframe.h"

#include <QPointer>
#include <QWidget>

class FolderBrowser;
class MessageBoxes;
class OpenFileDialog;
class Pacer;
class QAction;
class QMenu;
class QFrame;
class RollSignBox;
class SignboardBox;
class SoundOutput;
class UrlOpener;
class frmBrowseDir;
class frmSet;

// The bus window `Form1`: the program's start-up window and the owner of everything the user
// works with.
//
// Data flow: the settings panel `frmSet` is the control surface; its signals arrive here as the
// public operations (`Check1_Click`, `HScroll1_Change`, `MnuEditHkPic_Click`, ...), which read the
// panel's controls directly whenever they need a setting. The door leaves, the signboard frame and
// the bus picture are painted by this window; the roll-sign box `Picture1`, the signboard
// `PicKanban` and the decoration `picSlideBase1` are child widgets above them. `LoadIni` applies
// the settings file while the window loads and `SaveIni` writes it when the window closes.
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
    // The settings file `SaveIni` and `LoadIni` use; by default the one beside the program file.
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

    // Controls, for the operations above and for tests.
    RollSignBox *Picture1() const { return m_picture1; }
    SignboardBox *PicKanban() const { return m_picKanban; }
    // The roll sign's `DesiMakuPath`, `DesiMakuIndex` and file list `File1`. The settings file
    // reads and writes the folder with DesiMakuPath()/setDesiMakuPath(), points the list at a
    // folder with File1().setPath(folder) (which reports a failure and then keeps the old list)
    // and finds the first face with File1().name(0) (empty when the list is empty).
    RollSign &rollSign() { return m_rollSign; }
    const RollSign &rollSign() const { return m_rollSign; }
    // Makes the picture in `file` the face `ImgDesiMaku`. Returns false, keeping the face shown,
    // when the file is not a readable picture. (Picture1()->setFace() sets a picture directly.)
    bool showFace(const QString &file);
    // The folder chooser while MnuEditHkPic_Click has it open, otherwise null.
    frmBrowseDir *openFolderChooser() const;
    QWidget *picSlideBase1() const { return m_picSlideBase1; }
    QMenu *MnuTempMenu1() const { return m_mnuTempMenu1; }
    QAction *MnuViewKanban() const { return m_mnuViewKanban; }
    QAction *MnuViewWaku() const { return m_mnuViewWaku; }
    QAction *MnuSetKanban() const { return m_mnuSetKanban; }
    QAction *MnuKanbanReset() const { return m_mnuKanbanReset; }
    const DoorLeaves &doorLeaves() const { return m_doorLeaves; }
    const SignboardFrame &shpK_Waku() const { return m_shpK_Waku; }

    // The signboard and its frame, for the settings file. Positions are twips of the client area.
    // The ticks are the checked states of MnuViewKanban() and MnuViewWaku(): setting them with
    // QAction::setChecked() changes only the tick, as the settings reader needs.
    const Signboard &signboard() const { return m_signboard; }
    int kanbanLeft() const { return m_signboard.left(); }
    int kanbanTop() const { return m_signboard.top(); }
    // Moves the box; the frame stays where it is until the next PicKanban_DblClick().
    void setKanbanLeft(int twips);
    void setKanbanTop(int twips);
    // Shows or hides the box; the tick is left alone.
    bool isKanbanVisible() const { return m_signboard.isVisible(); }
    void setKanbanVisible(bool visible);
    // Shows or hides the three frame shapes; the tick is left alone.
    bool isWakuVisible() const { return m_shpK_Waku.isShapeVisible(0); }
    void setWakuVisible(bool visible);
    // Loads the picture at `path` and gives it to the box, which takes its size (the frame then
    // follows the resize). An empty path gives the empty picture. Returns false, changing nothing,
    // when the file is not a readable picture. Neither `KanbanPath` nor the visibility is touched.
    [[nodiscard]] bool setKanbanPicture(const QString &path);
    // `KanbanPath`, the signboard picture's file.
    QString KanbanPath() const { return m_signboard.path(); }
    void setKanbanPath(const QString &path) { m_signboard.setPath(path); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createMenu();
    void connectPanel(frmSet *panel);
    // Shows the panel above all windows if Form_Load has asked for that and it has not been done.
    void showSettingsPanel();
    // Repaints the given twip rectangle of the client area at once, without running the event loop.
    void repaintTwips(const QRect &twips);

    Services m_services;
    QPointer<frmSet> m_frmSet;
    bool m_panelPending = false; // Form_Load has run; the panel waits for this window's first paint
    bool m_painted = false;
    Picture m_busPicture;

    // ---- Doors ----
    Picture m_frontDoorPicture;
    Picture m_middleDoorPictures[2];
    DoorLeaves m_doorLeaves;
    int m_pressedImage = -1; // the Image1 element a left press went down on, or -1
    PanelDoorControls m_doorControls;
    DoorSounds m_doorSounds;
    DoorAnimation m_doorAnimation;
    // Runs one movement; a close asked for meanwhile follows it.
    void runMovement(void (DoorAnimation::*movement)());
    bool m_doorMoving = false;
    bool m_closeAfterMovement = false;

    // ---- Roll sign ----
    // Points File1 at DesiMakuPath and reports a failure. Returns true when the folder was not
    // found, so the chooser is to be offered again.
    bool switchFolderAndReport();
    // Runs one fresh folder chooser filled with DesiMakuPath; on OK stores its text there and
    // returns true.
    bool runFolderChooser();
    // "設定" on the panel's keypad: shows the face at the typed position.
    void jumpToTypedFace();

    RollSignBox *m_picture1 = nullptr;
    RollSign m_rollSign;
    QPointer<frmBrowseDir> m_frmBrowseDir;

    // ---- Signboard ----
    // Gives the box a picture already loaded and runs the resize handling if its size changed.
    void assignKanbanPicture(const Picture &picture);
    // Puts the box widget where the signboard's twip rectangle says, shown or hidden.
    void syncKanbanWidget();
    // Moves the box to `topLeft` (pixels), as a drag does.
    void dragKanban(QPoint topLeft);
    // Runs `change` on the frame and repaints where its shapes were and are.
    template <typename Change> void changeWaku(Change change);

    Signboard m_signboard;
    SignboardBox *m_picKanban = nullptr;
    SignboardFrame m_shpK_Waku;
    QMenu *m_mnuTempMenu1 = nullptr;
    QAction *m_mnuViewKanban = nullptr;
    QAction *m_mnuViewWaku = nullptr;
    QAction *m_mnuSetKanban = nullptr;
    QAction *m_mnuKanbanReset = nullptr;

    // ---- Dialogs ----
    // The owner of every window the program opens (dialogs, message boxes, the version window),
    // so that none of them opens under the always-on-top settings panel.
    QWidget *dialogOwner();

    // ---- Settings file ----
    // Steps of `LoadIni`: applies the file, or says it failed at some step; then the fixed
    // settings of a first start.
    bool restoreSettings();
    void recoverSettings();
    QString settingsFilePath() const;
    QString m_settingsFilePath; // empty: the file beside the program file
    QString m_reservedText; // carried through the settings file, used by nothing
    qint32 m_reservedNumber1 = 0;
    qint32 m_reservedNumber2 = 0;
    bool m_settingsSaveFailed = false; // the program then ends with a failure exit code
    bool m_closing = false; // the close has begun; it runs once

    // ---- Decoration ----
    QWidget *m_picSlideBase1 = nullptr;
};
