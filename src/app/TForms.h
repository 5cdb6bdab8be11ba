#pragma once

class TfrmEditHojitsu4;
class TfrmSetDataPath;

// The windows the program creates once at start and keeps for the whole run,
// in the order they are created. Windows reach each other through here.
struct TForms
{
    TfrmEditHojitsu4* frmEditHojitsu4 = nullptr;
    TfrmSetDataPath* frmSetDataPath = nullptr;

    static TForms& Instance();
    // Creates every window; the first is the main window.
    void CreateAll();
    // Destroys every window in reverse order.
    void DestroyAll();
};
