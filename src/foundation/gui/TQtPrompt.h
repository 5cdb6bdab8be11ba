#pragma once

#include "foundation/TPrompt.h"

// Message boxes and input boxes of the platform, owned by the active window.
class TQtPrompt : public TPromptBackend
{
public:
    void Message(const QString& text, const QString& caption) override;
    void Error(const QString& text) override;
    bool YesNo(const QString& text, const QString& caption) override;
    bool OkCancel(const QString& text, const QString& caption) override;
    TAnswer YesNoCancel(const QString& text, const QString& caption) override;
    bool InputText(const QString& caption, const QString& prompt, QString& value) override;
    void Beep() override;
};
