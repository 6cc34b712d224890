// Why items the scripts name for the chosen printers stay: which printer
// that stays, ignore profile or shared part still claims them. Said in a
// what-if run, once the removal profile is built.
#pragma once

class UninstallDatabase;
class WhatIfRecord;

void NoteWhatStays(const UninstallDatabase& database, WhatIfRecord& record);
