#pragma once

#include "core/doorcontrols.h"

#include <QWidget>

#include <array>

class QAbstractButton;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;

// The settings panel `frmSet`: a small tool window that stays above all ordinary windows and is
// the program's control surface. Its controls are at the same time the live door settings: the
// bus window reads the toggles, the speed bars and the mode buttons straight from here whenever it
// needs them. The panel does no door or roll-sign work itself; it edits the keypad display and
// reports everything else through its signals, which the bus window turns into its operations.
//
// The panel cannot be closed by the user: the panel the user set up is the one that is saved.
class frmSet final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmSet)

public:
    static constexpr int SpeedMin = 1;
    static constexpr int SpeedMax = 30000;
    static constexpr int KeypadDigits = 6;

    explicit frmSet(QWidget *parent = nullptr);

    QAbstractButton *Check1() const { return m_check1; }
    QAbstractButton *Check2() const { return m_check2; }
    QScrollBar *HScroll1() const { return m_hScroll1; }
    QScrollBar *HScroll2() const { return m_hScroll2; }
    QLabel *lblMaeSpeed() const { return m_lblMaeSpeed; }
    QLabel *lblNakaSpeed() const { return m_lblNakaSpeed; }
    QGroupBox *Frame2() const { return m_frame2; }
    QRadioButton *Option1(int index) const { return m_option1.at(index); }
    QLabel *Label1() const { return m_label1; }
    QPushButton *Command2(int index) const { return m_command2.at(index); }

    // The middle-door mode from the option buttons; the right leaf also when, against all odds,
    // none is selected.
    MiddleDoorMode middleDoorMode() const;

    // The speed labels `lblMaeSpeed` and `lblNakaSpeed` show the values of `HScroll1` and `HScroll2`.
    void showFrontSpeed();
    void showMiddleSpeed();

    // Keypad handler: 0 to 9 append a digit (at most six), 10 "C" clears, 11 "設定" asks for the
    // jump to the typed face.
    void Command2_Click(int index);

signals:
    void frontDoorToggled(); // Check1 clicked; its value has already changed
    void middleDoorToggled(); // Check2 clicked; Frame2 already follows it
    void frontSpeedChanged();
    void middleSpeedChanged();
    void faceJumpRequested(); // "設定" on the keypad
    void folderChooserRequested();
    void versionWindowRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Check1_Click();
    void Check2_Click();

    QFrame *m_frameA = nullptr;
    QAbstractButton *m_check1 = nullptr;
    QAbstractButton *m_check2 = nullptr;
    QScrollBar *m_hScroll1 = nullptr;
    QScrollBar *m_hScroll2 = nullptr;
    QLabel *m_lblMaeSpeed = nullptr;
    QLabel *m_lblNakaSpeed = nullptr;
    QGroupBox *m_frame2 = nullptr;
    std::array<QRadioButton *, 3> m_option1{};
    QFrame *m_frame1 = nullptr;
    QLabel *m_label1 = nullptr;
    std::array<QPushButton *, 12> m_command2{};
    QPushButton *m_command1 = nullptr;
    QPushButton *m_command3 = nullptr;
};
