// What a step row's 16x16 icon shows, judged by hue since a display of few
// colours shows the nearest ones: 'G' green (done), 'R' red (failed or
// current), 'g' grey (pending), '?' none of them.
#pragma once
#include <windows.h>

char StepMark(HDC dc, int left, int top);
