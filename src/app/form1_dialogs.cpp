// The bus window's operations that open the modal dialogs.
#include "form1.h"
#include "frmshowversion.h"
#include "programfile.h"

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

void Form1::MnuHelpVer_Click()
{
    // A fresh window for every opening, with no owner window; exec() returns when it has closed.
    frmShowVersion window(m_services.urls, m_services.messages, ProgramFile::folder());
    window.exec();
}
