#include "app/form1.h"
#include "dialogs/frmset.h"
#include "dialogs/frmshowversion.h"
#include "fakes/fakemessageboxes.h"
#include "fakes/fakeurlopener.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// The bus window's version operation, reached through the settings panel's button.
class Form1VersionTest : public QObject
{
    Q_OBJECT

private slots:
    void versionButton_opensFreshModalWindowAndReturnsWhenItCloses();
};

void Form1VersionTest::versionButton_opensFreshModalWindowAndReturnsWhenItCloses()
{
    FakeUrlOpener urls;
    FakeMessageBoxes messages;
    Form1::Services services;
    services.urls = &urls;
    services.messages = &messages;
    Form1 form(services);
    auto button = form.settingsPanel()->findChild<QPushButton *>(QStringLiteral("Command3"));
    QVERIFY(button);

    for (int opening = 0; opening < 2; ++opening) {
        QPointer<frmShowVersion> window;
        QTimer::singleShot(0, this, [&window] {
            window = qobject_cast<frmShowVersion *>(QApplication::activeModalWidget());
            if (window) {
                // The link line uses the library built beside the test program.
                QTest::mouseClick(window->Label5(), Qt::LeftButton);
                QTest::mouseClick(window->Command1(), Qt::LeftButton);
            }
        });
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(urls.opened.size(), opening + 1);
        QVERIFY(window.isNull()); // unloaded once closed: the next opening starts afresh
    }
    QVERIFY(messages.shown.isEmpty());
}

QTEST_MAIN(Form1VersionTest)
#include "form1_version_test.moc"
