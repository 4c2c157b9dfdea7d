// A start-up measuring aid, built only into the start-up benchmark's variant of the program: the
// program's own main.cpp linked with this file, which installs itself as the application is
// created. It writes to standard error, as readings of the steady clock in nanoseconds,
//   first-paint <ns>            once the bus window (object name "Form1") has painted for the first time,
//   window-paint <name> <ns>    once any other top-level window has (by object name),
// and ends the program half a second after the bus window's first paint, so that what start-up
// does after that paint counts in the peak memory too.
#include "paintreport.h"

#include <QCoreApplication>
#include <QEvent>
#include <QSet>
#include <QWidget>

namespace {

class FirstPaintProbe final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()) {
            const QWidget *window = static_cast<QWidget *>(watched)->window();
            if (!m_painted.contains(window)) {
                m_painted.insert(window);
                if (window->objectName() == QLatin1String("Form1")) {
                    PaintReport::reportFirstPaintAndEnd(this);
                } else {
                    PaintReport::reportAfterThisEvent(this, "window-paint " + window->objectName().toUtf8());
                }
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QSet<const QWidget *> m_painted;
};

void installProbe()
{
    QCoreApplication *app = QCoreApplication::instance();
    app->installEventFilter(new FirstPaintProbe(app));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installProbe)
