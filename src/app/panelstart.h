#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QThread;
class QWidget;
class SoundOutput;
class frmSet;

// When the settings panel comes onto the screen at start-up: right after the bus window's first
// paint, so the bus is not kept waiting for the fonts the panel's captions load, or half a second
// after the bus window is shown should it not be painted by then (covered by a window that stays
// on top). The sound output is prepared once the panel has been painted too. The panel is shown
// once, without taking the activation from the bus window, and raised above all windows.
class PanelStart final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PanelStart)

public:
    // `panel` gives the settings panel (made on first use); `sound` may be null.
    PanelStart(QWidget *busWindow, std::function<frmSet *()> panel, SoundOutput *sound);

    // Asks for the panel: at once when the bus window has been painted, else after its first paint.
    void request();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showPanel();

    std::function<frmSet *()> m_panel;
    SoundOutput *m_sound;
    bool m_pending = false; // asked for and not yet shown
    bool m_painted = false;
};

// Loads on a worker thread, while the bus window is being made and painted, what the panel's first
// paint would otherwise load on the main thread, in the way of both windows being up: Qt's
// image-format plugins (the style draws the group box frame from a picture, and Qt's first read of
// any picture loads every format plugin to ask it). They are shared by all threads and safe to
// load from any; the panel, made and shown on the main thread, waits for the worker should it need
// them sooner. The font database is not loaded here: loading it beside the bus window's start
// delays the bus window's first paint by more than it saves the panel, so the panel's show loads
// it, as any Qt window's first text does.
//
// Made once, after the application object; waits for its thread as it goes, which must be before
// the application object goes.
class PanelPreload final
{
    Q_DISABLE_COPY_MOVE(PanelPreload)

public:
    PanelPreload();
    ~PanelPreload();

private:
    std::unique_ptr<QThread> m_thread;
};
