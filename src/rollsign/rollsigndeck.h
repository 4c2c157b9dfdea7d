#pragma once

#include "rollsign/rollsign.h"

#include <QObject>

#include <functional>
#include <optional>

class MessageBoxes;
class QWidget;
class RollSignBox;

// The roll sign as the bus window shows it: the state and stepping rules `RollSign`
// (`DesiMakuPath`, `DesiMakuIndex`, the file list `File1`) and the box `Picture1` that shows the
// face `ImgDesiMaku`. It turns a key in the box or a keypad jump into the face shown, switches the
// folder and reports a failure, and runs the folder chooser's loop: a folder that is not found is
// offered again until the user gives one that exists or cancels. Which dialog asks for the folder
// is left to the caller.
//
// A face that cannot be read is passed over quietly: the position has moved, the face shown stays.
class RollSignDeck final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RollSignDeck)

public:
    // Asks the user for a folder, filled with `current`; nothing when the user cancels.
    using FolderChooser = std::function<std::optional<QString>(const QString &current)>;

    // The box is made as a child of `busWindow`; messages go to `messages` (may be null), owned
    // by the window `messageOwner` gives at that moment.
    RollSignDeck(QWidget *busWindow, MessageBoxes *messages, std::function<QWidget *()> messageOwner);

    RollSign &rollSign() { return m_rollSign; }
    const RollSign &rollSign() const { return m_rollSign; }
    RollSignBox *box() const { return m_box; }

    // A key went down in the box.
    void keyDown(int keyCode);
    // The keypad jump to the position typed in `display`.
    void jump(const QString &display);
    // The box takes the keyboard focus, as a click on it or on the front door gives it.
    void focus();

    // Makes the picture in `file` the face. Returns false, keeping the face shown, when the file is
    // not a readable picture.
    bool showFace(const QString &file);
    // The folder of the settings at start-up: points `File1` at `DesiMakuPath` and shows its first
    // face, if it has one. Returns false when the folder cannot be listed or its first face read.
    bool showStoredFolder();

    // Points `File1` at `DesiMakuPath` and reports a failure. Returns true when the folder was not
    // found, so that the chooser is to be offered again.
    bool switchFolderAndReport();
    // Offers `choose` filled with `DesiMakuPath` until the folder it gives is found or the user
    // cancels. Each offer is one turn of a loop, so the dialogs never nest.
    void chooseFolder(const FolderChooser &choose);

private:
    void showIfAny(const std::optional<QString> &face);

    RollSign m_rollSign;
    RollSignBox *m_box;
    MessageBoxes *m_messages;
    std::function<QWidget *()> m_messageOwner;
};
