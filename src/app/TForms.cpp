#include "app/TForms.h"

#include "acceptance/TFormGokakuHanteitiKeisanHouhou.h"
#include "app/TfrmEditHojitsu4.h"
#include "app/TfrmSetFont.h"
#include "app/TfrmSetHojituKetasu.h"
#include "controls/TFormSelect.h"
#include "controls/TfSelectMultiItems.h"
#include "controls/TfrmListBox.h"
#include "controls/TfrmProgressBar.h"
#include "foundation/NetworkFolder.h"
#include "foundation/Settings.h"
#include "foundation/TBackup.h"
#include "foundation/TDatabase.h"
#include "foundation/gui/TApplication.h"
#include "foundation/gui/TfrmSetDataPath.h"
#include "masters/TfrmEditHacchusya.h"
#include "masters/TfrmEditKoji.h"
#include "masters/TfrmEditKosyu.h"
#include "masters/TfrmEditSimei.h"
#include "masters/TfrmEditUkeoisya.h"
#include "masters/TfrmEditZairyoName.h"
#include "mix/TFormGozaiDefVer.h"
#include "mix/TFormPlant.h"
#include "mix/TFormRyudoKikaku.h"
#include "mix/TfrmEditGozaiDef.h"
#include "print/TFormPreview.h"
#include "print/TFormPrintSet.h"
#include "print/TfrmPreView.h"
#include <QEvent>
#include <QTimer>
#include <functional>
#include <memory>

namespace {

// Runs an action once, right after the first paint of the window it watches.
class TFirstPaint : public QObject
{
public:
    TFirstPaint(QObject* parent, std::function<void()> action)
        : QObject(parent), m_action(std::move(action))
    {
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && m_action) {
            // After the paint has reached the screen, not inside it.
            QTimer::singleShot(0, this, [this] {
                auto action = std::move(m_action);
                m_action = nullptr;
                TApplication::Guard(action);
                deleteLater();
            });
            watched->removeEventFilter(this);
        }
        return false;
    }

private:
    std::function<void()> m_action;
};

} // namespace

TForms& TForms::Instance()
{
    static TForms forms;
    return forms;
}

void TForms::Start()
{
    // Whatever fails at start is shown once, when every window is made.
    auto errors = std::make_shared<TApplication::TErrorBatch>();
    // A first start needs no set-up: the settings key, the alias and an empty
    // database in the data folder are made here.
    bool opened = false;
    TApplication::Guard([&] {
        EnsureSettingsKey();
        TDatabase::Connection();
        opened = true;
    });
    if (opened) {
        TApplication::Guard([] { TBackup::Daily(); });
        TApplication::Guard([] { WarnIfNetworkDataFolder(); });
    }
    CreateMain();
    // The other windows are made as soon as the main window has been painted
    // once, so that it appears at once; they are made before any user input
    // is handled.
    auto* firstPaint = new TFirstPaint(frmEditHojitsu4, [this, errors]() mutable {
        // For the start-up benchmark: the run ends once the window is shown.
        if (qEnvironmentVariableIsSet("KANMURI_QUIT_WHEN_SHOWN")) {
            QCoreApplication::quit();
            return;
        }
        TApplication::Guard([] { TDatabase::CheckIntegrity(); });
        CreateOthers();
        errors.reset();
    });
    frmEditHojitsu4->installEventFilter(firstPaint);
    frmEditHojitsu4->show();
}

bool TForms::Started() const
{
    return fSelectMultiItems != nullptr;
}

void TForms::CreateAll()
{
    // A window that cannot read its tables or settings is still made, so the
    // menus keep working; what failed is shown once however many windows
    // met it.
    TApplication::TErrorBatch errors;
    CreateMain();
    CreateOthers();
}

void TForms::CreateMain()
{
    frmEditHojitsu4 = new TfrmEditHojitsu4();
}

void TForms::CreateOthers()
{
    frmEditKoji = new TfrmEditKoji(frmEditHojitsu4);
    frmEditKosyu = new TfrmEditKosyu(frmEditHojitsu4);
    frmEditGozaiDef = new TfrmEditGozaiDef(frmEditHojitsu4);
    FormRyudoKikaku = new TFormRyudoKikaku(frmEditHojitsu4);
    FormPlant = new TFormPlant(frmEditHojitsu4);
    FormGozaiDefVer = new TFormGozaiDefVer(frmEditHojitsu4);
    frmSetHojituKetasu = new TfrmSetHojituKetasu(frmEditHojitsu4);
    frmPreView = new TfrmPreView(frmEditHojitsu4);
    frmSetDataPath = new TfrmSetDataPath(frmEditHojitsu4);
    frmEditSimei = new TfrmEditSimei(frmEditHojitsu4);
    frmEditUkeoisya = new TfrmEditUkeoisya(frmEditHojitsu4);
    frmEditHacchusya = new TfrmEditHacchusya(frmEditHojitsu4);
    FormPrintSet = new TFormPrintSet(frmEditHojitsu4);
    frmEditZairyoName = new TfrmEditZairyoName(frmEditHojitsu4);
    frmProgressBar = new TfrmProgressBar(frmEditHojitsu4);
    frmListBox = new TfrmListBox(frmEditHojitsu4);
    FormSelect = new TFormSelect(frmEditHojitsu4);
    FormPreview = new TFormPreview(frmEditHojitsu4);
    frmSetFont = new TfrmSetFont(frmEditHojitsu4);
    FormGokakuHanteitiKeisanHouhou = new TFormGokakuHanteitiKeisanHouhou(frmEditHojitsu4);
    fSelectMultiItems = new TfSelectMultiItems(frmEditHojitsu4);
}

void TForms::DestroyAll()
{
    // Owned windows go with the main window.
    delete frmEditHojitsu4;
    *this = TForms();
}
