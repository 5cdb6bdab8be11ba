#include "app/TForms.h"

#include "app/TfrmEditHojitsu4.h"
#include "app/TfrmSetFont.h"
#include "app/TfrmSetHojituKetasu.h"
#include "controls/TFormSelect.h"
#include "controls/TfSelectMultiItems.h"
#include "controls/TfrmListBox.h"
#include "controls/TfrmProgressBar.h"
#include "foundation/TApplication.h"
#include "foundation/TfrmSetDataPath.h"
#include "masters/TfrmEditHacchusya.h"
#include "masters/TfrmEditKoji.h"
#include "masters/TfrmEditKosyu.h"
#include "masters/TfrmEditSimei.h"
#include "masters/TfrmEditUkeoisya.h"
#include "masters/TfrmEditZairyoName.h"
#include "mix/TFormPlant.h"
#include "mix/TFormRyudoKikaku.h"

TForms& TForms::Instance()
{
    static TForms forms;
    return forms;
}

void TForms::CreateAll()
{
    // A window that cannot read its tables or settings is still made, so the
    // menus keep working; what failed is shown once however many windows
    // met it.
    TApplication::TErrorBatch errors;
    frmEditHojitsu4 = new TfrmEditHojitsu4();
    frmEditKoji = new TfrmEditKoji(frmEditHojitsu4);
    frmEditKosyu = new TfrmEditKosyu(frmEditHojitsu4);
    FormRyudoKikaku = new TFormRyudoKikaku(frmEditHojitsu4);
    FormPlant = new TFormPlant(frmEditHojitsu4);
    frmSetHojituKetasu = new TfrmSetHojituKetasu(frmEditHojitsu4);
    frmSetDataPath = new TfrmSetDataPath(frmEditHojitsu4);
    frmEditSimei = new TfrmEditSimei(frmEditHojitsu4);
    frmEditUkeoisya = new TfrmEditUkeoisya(frmEditHojitsu4);
    frmEditHacchusya = new TfrmEditHacchusya(frmEditHojitsu4);
    frmEditZairyoName = new TfrmEditZairyoName(frmEditHojitsu4);
    frmProgressBar = new TfrmProgressBar(frmEditHojitsu4);
    frmListBox = new TfrmListBox(frmEditHojitsu4);
    FormSelect = new TFormSelect(frmEditHojitsu4);
    frmSetFont = new TfrmSetFont(frmEditHojitsu4);
    fSelectMultiItems = new TfSelectMultiItems(frmEditHojitsu4);
}

void TForms::DestroyAll()
{
    // Owned windows go with the main window.
    delete frmEditHojitsu4;
    *this = TForms();
}
