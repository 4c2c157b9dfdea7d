#pragma once

#include <QDialog>

class FolderBrowser;
class QLabel;
class QLineEdit;
class QPushButton;

// The roll-sign folder chooser `frmBrowseDir`: a small modal dialog in which the user types the
// folder of the roll-sign faces into `Text1` or picks it with the platform's folder browser. It
// knows nothing of the folder setting: the bus window fills `Text1`, runs the dialog and, when it
// was closed with OK (`Accepted`), takes `Text1`'s text as it stands.
//
// OK and Cancel hide the dialog and end it; its title-bar close acts as Cancel. Neither button is
// the default or the cancel button: Enter and Esc press neither. A dialog is used for one opening
// only; every opening starts from a fresh one.
class frmBrowseDir final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmBrowseDir)

public:
    static constexpr int ClientWidth = 6900; // twips
    static constexpr int ClientHeight = 1215;

    // `browser` is not owned and must outlive the dialog; without one, browsing does nothing.
    explicit frmBrowseDir(FolderBrowser *browser, QWidget *parent = nullptr);

    QLabel *Label1() const { return m_label1; }
    QLineEdit *Text1() const { return m_text1; }
    QPushButton *Command1() const { return m_command1; }
    QPushButton *Command2(int index) const { return index == 0 ? m_command2[0] : m_command2[1]; }

    // Browse: a folder chosen in the folder browser replaces `Text1`'s text; cancelling keeps it.
    void Command1_Click();
    // 0 OK, 1 Cancel: hides the dialog and ends it with Accepted or Rejected.
    void Command2_Click(int index);

    // The text a browsed folder puts into `Text1`: lower-cased where the file system ignores the
    // case of names (so the text names the same folder), unchanged otherwise.
    static QString browsedText(const QString &folder, bool caseInsensitiveNames);
    // Whether this platform's file names ignore case (Windows, macOS).
    static bool namesIgnoreCase();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    FolderBrowser *m_browser = nullptr;
    QLabel *m_label1 = nullptr;
    QLineEdit *m_text1 = nullptr;
    QPushButton *m_command1 = nullptr;
    QPushButton *m_command2[2] = {};
};
