#include "foundation/TTransaction.h"

#include "foundation/EKanmuriError.h"
#include "foundation/TDatabase.h"

namespace {

int depth = 0;

} // namespace

TTransaction::TTransaction()
{
    if (depth == 0) {
        TDatabase::BeginWrite();
        m_outer = true;
    }
    ++depth;
}

TTransaction::~TTransaction()
{
    --depth;
    if (m_outer && !m_done)
        TDatabase::RollbackWrite();
}

void TTransaction::Commit()
{
    if (m_done)
        return;
    // Done either way: a failed commit has been rolled back.
    m_done = true;
    if (m_outer)
        TDatabase::CommitWrite();
}
