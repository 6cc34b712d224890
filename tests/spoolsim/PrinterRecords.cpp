#include "PrinterRecords.h"

#include <winspool.h>

#include "SimCall.h"

namespace spoolsim {

namespace {

DWORD ReportedStatus(const Printer& printer)
{
    return printer.status | (printer.pendingDeletion ? PRINTER_STATUS_PENDING_DELETION : 0);
}

}  // namespace

std::size_t PrinterRecordSize(DWORD level)
{
    switch (level) {
    case 1: return sizeof(PRINTER_INFO_1A);
    case 2: return sizeof(PRINTER_INFO_2A);
    case 4: return RunningOnWin9x() ? 0 : sizeof(PRINTER_INFO_4A);
    case 5: return sizeof(PRINTER_INFO_5A);
    default: return 0;
    }
}

void WritePrinterRecord(PackedBuffer& packer, const Printer& printer, DWORD level, unsigned char* record)
{
    switch (level) {
    case 1: {
        PRINTER_INFO_1A info = {};
        info.Flags = PRINTER_ENUM_ICON8;
        info.pDescription = packer.Text(printer.name + "," + printer.driver + "," + printer.location);
        info.pName = packer.Text(printer.name);
        info.pComment = packer.Text(printer.comment);
        Store(record, info);
        break;
    }
    case 2: {
        PRINTER_INFO_2A info = {};
        info.pServerName = packer.OptionalText(printer.server);
        info.pPrinterName = packer.Text(printer.name);
        info.pShareName = packer.Text(printer.share);
        info.pPortName = packer.Text(printer.port);
        info.pDriverName = packer.Text(printer.driver);
        info.pComment = packer.Text(printer.comment);
        info.pLocation = packer.Text(printer.location);
        info.pSepFile = packer.Text("");
        info.pPrintProcessor = packer.Text(printer.printProcessor);
        info.pDatatype = packer.Text(printer.datatype);
        info.pParameters = packer.Text("");
        info.Attributes = printer.attributes;
        info.Priority = printer.priority;
        info.Status = ReportedStatus(printer);
        info.cJobs = static_cast<DWORD>(printer.jobs.size());
        Store(record, info);
        break;
    }
    case 4: {
        PRINTER_INFO_4A info = {};
        info.pPrinterName = packer.Text(printer.name);
        info.pServerName = packer.OptionalText(printer.server);
        info.Attributes = printer.attributes;
        Store(record, info);
        break;
    }
    case 5: {
        PRINTER_INFO_5A info = {};
        info.pPrinterName = packer.Text(printer.name);
        info.pPortName = packer.Text(printer.port);
        info.Attributes = printer.attributes;
        info.DeviceNotSelectedTimeout = 15000;
        info.TransmissionRetryTimeout = 45000;
        Store(record, info);
        break;
    }
    default: break;
    }
}

}  // namespace spoolsim
