#pragma once

#include "platform/makerlibrary.h"

#include <QDialog>

class MessageBoxes;
class QLabel;
class QPushButton;
class UrlOpener;

// The version window `frmShowVersion`: a modal dialog with the product name, the model line (the
// program file's base name), the version, the credits and a link line to the maker's home page.
// The address comes from the maker's resource library, loaded from `makerLibraryFolder` only; the
// browser and the error message go through the injected services. The window is used once: the
// caller creates it for each opening and runs exec(), which returns when it closes.
class frmShowVersion final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmShowVersion)

public:
    static constexpr int ClientWidth = 4995; // twips
    static constexpr int ClientHeight = 3345;

    // `urls` and `messages` are not owned and must outlive the window.
    frmShowVersion(
        UrlOpener *urls, MessageBoxes *messages, const QString &makerLibraryFolder, QWidget *parent = nullptr);

    QLabel *Label1(int index) const { return index == 0 ? m_label1_0 : m_label1_1; }
    QLabel *Label5() const { return m_label5; }
    QPushButton *Command1() const { return m_command1; }

    // Fills the model line with the running program's base name.
    void Form_Load();
    // Opens the maker's home page, or reports why it cannot; the window stays open either way.
    void Label5_Click();
    // Closes the window; exec() then returns.
    void Command1_Click();

    // Esc and the title bar's close box end here: closing the window by any means acts as OK.
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    UrlOpener *m_urls;
    MessageBoxes *m_messages;
    MakerLibrary m_makerLibrary;

    QLabel *m_image1 = nullptr;
    QLabel *m_label1_0 = nullptr;
    QLabel *m_label1_1 = nullptr;
    QLabel *m_label2 = nullptr;
    QLabel *m_label3[3] = {};
    QLabel *m_label4 = nullptr;
    QLabel *m_label5 = nullptr;
    QPushButton *m_command1 = nullptr;
    bool m_label5Pressed = false; // a left press went down on the link line
};
