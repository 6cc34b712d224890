// Making another printer the default after the default one was removed.
#pragma once
#include "OSInfo.h"
#include "TextUtil.h"

// (Not named SetDefaultPrinter: winspool.h makes that a macro.)
// An empty name picks the first printer the spooler lists and writes its
// name back. 1 when the printer was made the default, else 0.
int MakeDefaultPrinter(const COSInfo& os, char (&printerName)[kTextField]);
