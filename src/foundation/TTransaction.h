#pragma once

// Groups the statements of one operation so that they land together or not
// at all. It takes the write lock at once (waiting while another program
// saves), so that what it reads before writing is still true when it writes. Commit() makes them
// permanent; leaving the scope without it (an exception part way) rolls every statement back. A
// transaction opened while another is running joins the outer one.
class TTransaction
{
public:
    TTransaction();
    ~TTransaction();
    TTransaction(const TTransaction&) = delete;
    TTransaction& operator=(const TTransaction&) = delete;

    void Commit();

private:
    bool m_outer = false;
    bool m_done = false;
};
