#pragma once

#include "foundation/EKanmuriError.h"

// A failure of the page preview: no printer to lay the pages out for or to
// print on, or a print job that could not be written.
class EPrevError : public EKanmuriError
{
public:
    using EKanmuriError::EKanmuriError;

    static EPrevError NoPrinter()
    {
        return EPrevError(QStringLiteral("プリンタが登録されていません"));
    }
};
