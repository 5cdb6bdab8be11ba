#pragma once

class TFormGokakuHanteitiKeisanHouhou;
class TFormGozaiDefVer;
class TFormPlant;
class TFormPreview;
class TFormPrintSet;
class TfrmPreView;
class TFormRyudoKikaku;
class TFormSelect;
class TfSelectMultiItems;
class TfrmEditHacchusya;
class TfrmEditGozaiDef;
class TfrmEditHojitsu4;
class TfrmEditKoji;
class TfrmEditKosyu;
class TfrmEditSimei;
class TfrmEditUkeoisya;
class TfrmEditZairyoName;
class TfrmListBox;
class TfrmProgressBar;
class TfrmSetFont;
class TfrmSetHojituKetasu;
class TfrmSetDataPath;

// The windows the program creates once at start and keeps for the whole run,
// in the order they are created. Windows reach each other through here.
struct TForms
{
    TfrmEditHojitsu4* frmEditHojitsu4 = nullptr;
    TfrmEditKoji* frmEditKoji = nullptr;
    TfrmEditKosyu* frmEditKosyu = nullptr;
    TfrmEditGozaiDef* frmEditGozaiDef = nullptr;
    TFormRyudoKikaku* FormRyudoKikaku = nullptr;
    TFormPlant* FormPlant = nullptr;
    TFormGozaiDefVer* FormGozaiDefVer = nullptr;
    TfrmSetHojituKetasu* frmSetHojituKetasu = nullptr;
    TfrmPreView* frmPreView = nullptr;
    TfrmSetDataPath* frmSetDataPath = nullptr;
    TfrmEditSimei* frmEditSimei = nullptr;
    TfrmEditUkeoisya* frmEditUkeoisya = nullptr;
    TfrmEditHacchusya* frmEditHacchusya = nullptr;
    TFormPrintSet* FormPrintSet = nullptr;
    TfrmEditZairyoName* frmEditZairyoName = nullptr;
    TfrmProgressBar* frmProgressBar = nullptr;
    TfrmListBox* frmListBox = nullptr;
    TFormSelect* FormSelect = nullptr;
    TFormPreview* FormPreview = nullptr;
    TfrmSetFont* frmSetFont = nullptr;
    TFormGokakuHanteitiKeisanHouhou* FormGokakuHanteitiKeisanHouhou = nullptr;
    TfSelectMultiItems* fSelectMultiItems = nullptr;

    static TForms& Instance();
    // The program's start: the settings, the data folder's database and its
    // daily backup, every window, the main window shown. Whatever fails is
    // shown once, after every window is made; a data folder that cannot be
    // opened leaves the windows usable, so that it can be repointed.
    void Start();
    // Every window has been made (Start makes the others right after the
    // main window first appears).
    bool Started() const;
    // Creates every window; the first is the main window.
    void CreateAll();
    void CreateMain();
    void CreateOthers();
    // Destroys every window in reverse order.
    void DestroyAll();
};
