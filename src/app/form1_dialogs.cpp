// The bus window's operations that open the modal dialogs.
#include "app/form1.h"
#include "dialogs/frmset.h"
#include "dialogs/frmshowversion.h"
#include "platform/programfile.h"

void Form1::MnuEditHkPic_Click()
{
    // A folder that is not found is offered again in a fresh chooser, until the user gives one
    // that exists or cancels. Each offer is one turn of this loop, so the dialogs never nest.
    while (runFolderChooser()) {
        if (!switchFolderAndReport()) {
            return;
        }
    }
}

QWidget *Form1::dialogOwner()
{
    // The panel stays above every other window, and a window it owns is kept above it: a dialog
    // owned by the bus window would open under the panel.
    return settingsPanel();
}

void Form1::MnuHelpVer_Click()
{
    // A fresh window for every opening; exec() returns when it has closed.
    frmShowVersion window(m_services.urls, m_services.messages, ProgramFile::folder(), dialogOwner());
    window.exec();
}
