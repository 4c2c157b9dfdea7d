#pragma once

// The bus window's rooms and controls as the tests reach them: by object name, as a user's tools
// find them, and then through the rooms' own classes.
#include "app/form1.h"
#include "dialogs/frmbrowsedir.h"
#include "doors/busdoors.h"
#include "rollsign/rollsignbox.h"
#include "rollsign/rollsigndeck.h"
#include "signboard/signboardbox.h"
#include "signboard/signboardcontroller.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

inline RollSignDeck &rollSignDeck(const Form1 &form)
{
    return *form.findChild<RollSignDeck *>(QStringLiteral("rollSignDeck"));
}
inline SignboardController &kanban(const Form1 &form)
{
    return *form.findChild<SignboardController *>(QStringLiteral("signboardController"));
}

inline RollSignBox *Picture1(const Form1 &form)
{
    return form.findChild<RollSignBox *>(QStringLiteral("Picture1"));
}
inline SignboardBox *PicKanban(const Form1 &form)
{
    return form.findChild<SignboardBox *>(QStringLiteral("PicKanban"));
}
inline QMenu *MnuTempMenu1(const Form1 &form)
{
    return form.findChild<QMenu *>(QStringLiteral("MnuTempMenu1"));
}
// An item of the pop-up menu by its name: "MnuViewKanban", "MnuViewWaku", "MnuSetKanban" or
// "MnuKanbanReset".
inline QAction *menuItem(const Form1 &form, const char *name)
{
    return form.findChild<QAction *>(QLatin1String(name));
}

// The folder chooser while one is open, otherwise null.
inline frmBrowseDir *openFolderChooser(const Form1 &)
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto chooser = qobject_cast<frmBrowseDir *>(window)) {
            return chooser;
        }
    }
    return nullptr;
}

inline RollSign &rollSign(const Form1 &form)
{
    return rollSignDeck(form).rollSign();
}
inline bool showFace(const Form1 &form, const QString &file)
{
    return rollSignDeck(form).showFace(file);
}

inline const DoorLeaves &doorLeaves(const Form1 &form)
{
    return form.findChild<BusDoors *>(QStringLiteral("busDoors"))->leaves();
}

inline const Signboard &signboard(const Form1 &form)
{
    return kanban(form).signboard();
}
inline const SignboardFrame &shpK_Waku(const Form1 &form)
{
    return kanban(form).frame();
}
inline QString KanbanPath(const Form1 &form)
{
    return kanban(form).path();
}
inline void setKanbanLeft(const Form1 &form, int twips)
{
    kanban(form).setLeft(twips);
}
inline void setKanbanTop(const Form1 &form, int twips)
{
    kanban(form).setTop(twips);
}
inline bool setKanbanPicture(const Form1 &form, const QString &path)
{
    return kanban(form).setPicture(path);
}
