#include "foundation/TTransaction.h"

#include "foundation/EKanmuriError.h"
#include "foundation/TDatabase.h"

#include <QSqlError>

namespace {

int depth = 0;

} // namespace

TTransaction::TTransaction()
{
    if (depth == 0) {
        QSqlDatabase db = TDatabase::Connection();
        if (!db.transaction())
            throw EDatabaseError(db.lastError().text());
        m_outer = true;
    }
    ++depth;
}

TTransaction::~TTransaction()
{
    --depth;
    if (m_outer && !m_done) {
        QSqlDatabase db = TDatabase::Connection();
        db.rollback();
    }
}

void TTransaction::Commit()
{
    if (m_done)
        return;
    if (m_outer) {
        QSqlDatabase db = TDatabase::Connection();
        if (!db.commit())
            throw EDatabaseError(db.lastError().text());
    }
    m_done = true;
}
