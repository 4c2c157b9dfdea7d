#pragma once

#include "doorleaves.h"
#include "picture.h"
#include "signboardframe.h"

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
class SoundOutput;
class UrlOpener;
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

    // Start-up: applies the settings file, shows the panel above all windows and sets the title.
    // The caller shows the window afterwards.
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
    QWidget *PicKanban() const { return m_picKanban; }
    QWidget *picSlideBase1() const { return m_picSlideBase1; }
    QMenu *MnuTempMenu1() const { return m_mnuTempMenu1; }
    QAction *MnuViewKanban() const { return m_mnuViewKanban; }
    QAction *MnuViewWaku() const { return m_mnuViewWaku; }
    QAction *MnuSetKanban() const { return m_mnuSetKanban; }
    QAction *MnuKanbanReset() const { return m_mnuKanbanReset; }
    const DoorLeaves &doorLeaves() const { return m_doorLeaves; }
    const SignboardFrame &shpK_Waku() const { return m_shpK_Waku; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createMenu();
    void connectPanel(frmSet *panel);
    // Repaints the given twip rectangle of the client area at once, without running the event loop.
    void repaintTwips(const QRect &twips);

    Services m_services;
    QPointer<frmSet> m_frmSet;
    Picture m_busPicture;

    // ---- Doors ----
    Picture m_frontDoorPicture;
    Picture m_middleDoorPictures[2];
    DoorLeaves m_doorLeaves;
    int m_pressedImage = -1; // the Image1 element a left press went down on, or -1

    // ---- Roll sign ----
    RollSignBox *m_picture1 = nullptr;

    // ---- Signboard ----
    QWidget *m_picKanban = nullptr;
    SignboardFrame m_shpK_Waku;
    QMenu *m_mnuTempMenu1 = nullptr;
    QAction *m_mnuViewKanban = nullptr;
    QAction *m_mnuViewWaku = nullptr;
    QAction *m_mnuSetKanban = nullptr;
    QAction *m_mnuKanbanReset = nullptr;

    // ---- Dialogs ----

    // ---- Settings file ----
    // Steps of `LoadIni`: applies the file, or says it failed at some step; then the fixed
    // settings of a first start.
    bool restoreSettings();
    void recoverSettings();
    QString settingsFilePath() const;
    QString m_settingsFilePath; // empty: the file beside the program file
    QString m_desiMakuPath;
    QString m_kanbanPath;
    QString m_reservedText; // carried through the settings file, used by nothing
    qint32 m_reservedNumber1 = 0;
    qint32 m_reservedNumber2 = 0;
    bool m_settingsSaveFailed = false; // the program then ends with a failure exit code

    // ---- Decoration ----
    QWidget *m_picSlideBase1 = nullptr;
};
