// Private window messages to the main window, and the timer identifiers.
#pragma once

const unsigned UM_ENABLE_UNINSTALL = 1127;  // wParam 1: a row is selected; 0: list refilled
const unsigned UM_START_REMOVAL = 1128;
const unsigned UM_REMOVAL_DONE = 1129;
const unsigned UM_SHOW_EXTRA_INFO = 1131;  // wParam: how many rows are chosen

const unsigned kLoadingTimerId = 1126;
const unsigned kRemovalTimerId = 1130;
