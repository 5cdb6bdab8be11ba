#pragma once

// The page offset a sheet draws with (see PageOffsetX in CmDrawing.h), for
// as long as the object lives: the previous offset is put back when it goes,
// also when the drawing fails, so the next sheet does not inherit the shift.
class TPageOffset
{
public:
    TPageOffset(float x, float y);
    ~TPageOffset();
    TPageOffset(const TPageOffset&) = delete;
    TPageOffset& operator=(const TPageOffset&) = delete;

    // For a sheet whose print settings move it right and down by `leftMm`
    // and `topMm` millimetres.
    static TPageOffset FromMargins(int leftMm, int topMm);

private:
    float m_previousX;
    float m_previousY;
};
