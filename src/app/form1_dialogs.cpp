// The bus window's operations that open the modal dialogs.
#include "form1.h"

void Form1::MnuEditHkPic_Click()
{
}

void Form1::MnuHelpVer_Click()
{
}
