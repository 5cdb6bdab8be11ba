#include "foundation/EKanmuriError.h"

QString ExceptionText(const std::exception& e)
{
    if (auto* own = dynamic_cast<const EKanmuriError*>(&e))
        return own->text();
    return QString::fromLocal8Bit(e.what());
}
