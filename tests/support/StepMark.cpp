#include "StepMark.h"

char StepMark(HDC dc, int left, int top)
{
    char mark = '?';
    for (int y = top; y < top + 16; ++y) {
        for (int x = left; x < left + 16; ++x) {
            const COLORREF colour = GetPixel(dc, x, y);
            if (colour == CLR_INVALID)
                continue;
            const int r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
            if (g > r + 60 && g > b + 60)
                mark = 'G';
            else if (r > g + 60 && r > b + 60)
                mark = 'R';
            else if (mark == '?' && r == g && g == b && r >= 0x60 && r <= 0xA0)
                mark = 'g';
        }
    }
    return mark;
}
