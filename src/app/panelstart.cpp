#include "app/panelstart.h"

#include "app/firstpaintwatch.h"
#include "dialogs/frmset.h"
#include "platform/soundoutput.h"

#include <QBuffer>
#include <QEvent>
#include <QImageReader>
#include <QThread>
#include <QTimer>
#include <QWidget>

namespace {

// How long the panel waits for the bus window's first paint at most.
constexpr int PanelLatestMs = 500;

} // namespace

PanelStart::PanelStart(QWidget *busWindow, std::function<frmSet *()> panel, SoundOutput *sound)
    : QObject(busWindow)
    , m_panel(std::move(panel))
    , m_sound(sound)
{
    busWindow->installEventFilter(this);
}

void PanelStart::request()
{
    m_pending = true;
    if (m_painted) {
        showPanel();
    }
}

bool PanelStart::eventFilter(QObject *, QEvent *event)
{
    if (event->type() == QEvent::Show && m_pending) {
        QTimer::singleShot(PanelLatestMs, this, &PanelStart::showPanel);
    } else if (event->type() == QEvent::Paint && !std::exchange(m_painted, true)) {
        // Once this paint has been handled and is on its way to the screen.
        QMetaObject::invokeMethod(this, &PanelStart::showPanel, Qt::QueuedConnection);
    }
    return false;
}

void PanelStart::showPanel()
{
    if (!std::exchange(m_pending, false)) {
        return;
    }
    frmSet *panel = m_panel();
    // Shown after the bus window, the panel must not take the activation from it.
    panel->setAttribute(Qt::WA_ShowWithoutActivating);
    if (SoundOutput *sound = m_sound) {
        new FirstPaintWatch(panel, [panel, sound] {
            QMetaObject::invokeMethod(
                panel, [sound] { sound->prepareInBackground(); }, Qt::QueuedConnection);
        });
    }
    panel->show();
    panel->raise();
}

PanelPreload::PanelPreload()
    : m_thread(QThread::create([] {
        // Asking for a PNG reader loads every format plugin first, as any first read does.
        QBuffer nothing;
        QImageReader(&nothing, "png").canRead();
    }))
{
    m_thread->setObjectName(QStringLiteral("panel preload"));
    m_thread->start();
}

PanelPreload::~PanelPreload()
{
    m_thread->wait();
}
