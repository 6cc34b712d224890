// The PRINTER_INFO_n records of one printer, as EnumPrintersA and
// GetPrinterA fill them.
#pragma once
#include <windows.h>

#include <cstddef>

#include "PackedBuffer.h"
#include "SimState.h"

namespace spoolsim {

// Record size of a supported level (1, 2, 4 and 5; 4 not on the 9x family), else 0.
std::size_t PrinterRecordSize(DWORD level);

// Writes the record (or, with record nullptr, only measures its strings).
void WritePrinterRecord(PackedBuffer& packer, const Printer& printer, DWORD level, unsigned char* record);

}  // namespace spoolsim
