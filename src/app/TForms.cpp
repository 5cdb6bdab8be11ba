#include "app/TForms.h"

#include "app/TfrmEditHojitsu4.h"
#include "foundation/TfrmSetDataPath.h"

TForms& TForms::Instance()
{
    static TForms forms;
    return forms;
}

void TForms::CreateAll()
{
    frmEditHojitsu4 = new TfrmEditHojitsu4();
    frmSetDataPath = new TfrmSetDataPath(frmEditHojitsu4);
}

void TForms::DestroyAll()
{
    // Owned windows go with the main window.
    delete frmEditHojitsu4;
    *this = TForms();
}
