// The simulator against Wine's own winspool, on the same printer, driver
// and print processors: the same calls must give the same results, error
// codes and record layouts wherever Wine implements the call. Wine's
// spooler is shared by the whole prefix, hence the Serial suite.
#include <gtest/gtest.h>

#include "SimTestUtil.h"
#include "SimulatedSpooler.h"

namespace {

const char kPrinterName[] = "Trelun Conformance Printer";
const char kDriverName[] = "Trelun Conformance Driver";

struct SpoolerApi {
    const char* label;
    decltype(&EnumPrintersA) enumPrinters;
    decltype(&OpenPrinterA) openPrinter;
    decltype(&GetPrinterA) getPrinter;
    decltype(&GetPrinterDataA) getPrinterData;
    decltype(&ClosePrinter) closePrinter;
    decltype(&EnumPrinterDriversA) enumDrivers;
    decltype(&GetPrinterDriverA) getDriver;
    decltype(&EnumPrintProcessorsA) enumProcessors;
    decltype(&GetPrinterDriverDirectoryA) driverDirectory;
    decltype(&GetPrintProcessorDirectoryA) processorDirectory;
    decltype(&DeleteMonitorA) deleteMonitor;
};

template <typename F> F Function(HMODULE module, const char* name)
{
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

SpoolerApi ApiOf(HMODULE module, const char* label)
{
    SpoolerApi api;
    api.label = label;
    api.enumPrinters = Function<decltype(&EnumPrintersA)>(module, "EnumPrintersA");
    api.openPrinter = Function<decltype(&OpenPrinterA)>(module, "OpenPrinterA");
    api.getPrinter = Function<decltype(&GetPrinterA)>(module, "GetPrinterA");
    api.getPrinterData = Function<decltype(&GetPrinterDataA)>(module, "GetPrinterDataA");
    api.closePrinter = Function<decltype(&ClosePrinter)>(module, "ClosePrinter");
    api.enumDrivers = Function<decltype(&EnumPrinterDriversA)>(module, "EnumPrinterDriversA");
    api.getDriver = Function<decltype(&GetPrinterDriverA)>(module, "GetPrinterDriverA");
    api.enumProcessors = Function<decltype(&EnumPrintProcessorsA)>(module, "EnumPrintProcessorsA");
    api.driverDirectory = Function<decltype(&GetPrinterDriverDirectoryA)>(module, "GetPrinterDriverDirectoryA");
    api.processorDirectory = Function<decltype(&GetPrintProcessorDirectoryA)>(module, "GetPrintProcessorDirectoryA");
    api.deleteMonitor = Function<decltype(&DeleteMonitorA)>(module, "DeleteMonitorA");
    return api;
}

// Installs the printer in Wine's spooler for the suite and removes it after.
class WinePrinter {
public:
    WinePrinter() : winspool(LoadLibraryA("winspool.drv")) { Remove(); }
    ~WinePrinter()
    {
        Remove();
        FreeLibrary(winspool);
    }

    bool Install()
    {
        char system[MAX_PATH] = {};
        GetSystemDirectoryA(system, MAX_PATH);
        const std::string file = std::string(system) + "\\wineps.drv";
        DRIVER_INFO_3A driver = {};
        driver.cVersion = 3;
        driver.pName = const_cast<char*>(kDriverName);
        driver.pEnvironment = const_cast<char*>(spoolsim::kNativeEnvironment);
        driver.pDriverPath = driver.pDataFile = driver.pConfigFile = const_cast<char*>(file.c_str());
        auto addDriver = Function<decltype(&AddPrinterDriverExA)>(winspool, "AddPrinterDriverExA");
        if (!addDriver(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES))
            return false;
        PRINTER_INFO_2A info = {};
        info.pPrinterName = const_cast<char*>(kPrinterName);
        info.pPortName = const_cast<char*>("FILE:");
        info.pDriverName = const_cast<char*>(kDriverName);
        info.pComment = const_cast<char*>("for comparison");
        info.pLocation = const_cast<char*>("nowhere");
        info.pPrintProcessor = const_cast<char*>("winprint");
        info.pDatatype = const_cast<char*>("RAW");
        HANDLE printer = Function<decltype(&AddPrinterA)>(winspool, "AddPrinterA")(nullptr, 2, reinterpret_cast<BYTE*>(&info));
        if (!printer)
            return false;
        const DWORD stored = Function<decltype(&SetPrinterDataA)>(winspool, "SetPrinterDataA")(
            printer, const_cast<char*>("VantoDriver08"), REG_SZ, reinterpret_cast<BYTE*>(const_cast<char*>("yes")), 4);
        Function<decltype(&ClosePrinter)>(winspool, "ClosePrinter")(printer);
        return stored == ERROR_SUCCESS;
    }

    HMODULE Module() const { return winspool; }

private:
    void Remove()
    {
        PRINTER_DEFAULTSA all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
        HANDLE printer = nullptr;
        if (Function<decltype(&OpenPrinterA)>(winspool, "OpenPrinterA")(const_cast<char*>(kPrinterName), &printer,
                                                                        &all)) {
            Function<decltype(&DeletePrinter)>(winspool, "DeletePrinter")(printer);
            Function<decltype(&ClosePrinter)>(winspool, "ClosePrinter")(printer);
        }
        Function<decltype(&DeletePrinterDriverA)>(winspool, "DeletePrinterDriverA")(
            nullptr, nullptr, const_cast<char*>(kDriverName));
    }

    HMODULE winspool;
};

const std::string kSimulatorState = std::string("[Printer]\r\nName=") + kPrinterName +
                                    "\r\nPort=FILE:\r\nDriver=" + kDriverName +
                                    "\r\nComment=for comparison\r\nLocation=nowhere\r\nPrintProcessor=winprint\r\n"
                                    "Datatype=RAW\r\nData.VantoDriver08=yes\r\n"
                                    "[Driver]\r\nName=" + kDriverName +
                                    "\r\nEnvironment=" + spoolsim::kNativeEnvironment +
                                    "\r\nVersion=3\r\nDriverPath=C:\\x\\wineps.drv\r\n"
                                    "DataFile=C:\\x\\wineps.drv\r\nConfigFile=C:\\x\\wineps.drv\r\n"
                                    "[PrintProcessor]\r\nName=winprint\r\n[PrintProcessor]\r\nName=wineps\r\n";

// What one implementation answers; compared field by field between the two.
struct PrinterView {
    BOOL sizeResult = FALSE;
    DWORD sizeError = 0;
    bool found = false;
    std::vector<std::string> texts;
    std::vector<bool> nulls;
};

std::string Show(const char* text) { return text ? text : ""; }

// The fields Wine fills the way Windows does, per level; every string lies
// in the caller's buffer past the records.
PrinterView EnumerateOurPrinter(const SpoolerApi& api, DWORD level)
{
    PrinterView view;
    DWORD needed = 0;
    DWORD returned = 0;
    SetLastError(kMarker);
    view.sizeResult = api.enumPrinters(PRINTER_ENUM_LOCAL, nullptr, level, nullptr, 0, &needed, &returned);
    view.sizeError = GetLastError();
    CallerBuffer buffer(needed);
    if (!api.enumPrinters(PRINTER_ENUM_LOCAL, nullptr, level, buffer.data(), needed, &needed, &returned))
        return view;
    EXPECT_TRUE(buffer.CanaryIntact()) << api.label;
    const std::size_t sizes[] = {0, sizeof(PRINTER_INFO_1A), sizeof(PRINTER_INFO_2A), 0, sizeof(PRINTER_INFO_4A),
                                 sizeof(PRINTER_INFO_5A)};
    const std::size_t records = returned * sizes[level];
    for (DWORD i = 0; i < returned; ++i) {
        const BYTE* record = buffer.data() + i * sizes[level];
        std::vector<const char*> fields;
        std::vector<const char*> nullable;
        switch (level) {
        case 1: {
            const PRINTER_INFO_1A* r = reinterpret_cast<const PRINTER_INFO_1A*>(record);
            fields = {r->pName, r->pComment};
            break;
        }
        case 2: {
            const PRINTER_INFO_2A* r = reinterpret_cast<const PRINTER_INFO_2A*>(record);
            fields = {r->pPrinterName, r->pPortName, r->pDriverName, r->pComment, r->pLocation, r->pPrintProcessor,
                      r->pDatatype};
            nullable = {r->pServerName};
            break;
        }
        case 4: {
            const PRINTER_INFO_4A* r = reinterpret_cast<const PRINTER_INFO_4A*>(record);
            fields = {r->pPrinterName};
            nullable = {r->pServerName};
            break;
        }
        case 5: {
            const PRINTER_INFO_5A* r = reinterpret_cast<const PRINTER_INFO_5A*>(record);
            fields = {r->pPrinterName, r->pPortName};
            break;
        }
        }
        if (Show(fields[0]) != kPrinterName)
            continue;
        view.found = true;
        for (const char* f : fields) {
            EXPECT_TRUE(buffer.HoldsString(f, records)) << api.label << " level " << level;
            view.texts.push_back(Show(f));
        }
        for (const char* n : nullable)
            view.nulls.push_back(n == nullptr);
    }
    return view;
}

class SerialWineConformance : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        wine = new WinePrinter();
        installed = wine->Install();
    }
    static void TearDownTestSuite()
    {
        delete wine;
        wine = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(installed) << "Wine's spooler did not take the comparison printer";
        spooler.Write(kSimulatorState);
    }

    SpoolerApi Wine() const { return ApiOf(wine->Module(), "wine"); }
    SpoolerApi Simulator() const { return ApiOf(GetModuleHandleA("VSPOOL08.dll"), "simulator"); }

    static WinePrinter* wine;
    static bool installed;
    SimulatedSpooler spooler;
};

WinePrinter* SerialWineConformance::wine = nullptr;
bool SerialWineConformance::installed = false;

}  // namespace

TEST_F(SerialWineConformance, EnumPrintersRecordsAtEveryLevel)
{
    for (DWORD level : {1u, 2u, 4u, 5u}) {
        SCOPED_TRACE(level);
        const PrinterView fromWine = EnumerateOurPrinter(Wine(), level);
        const PrinterView fromSimulator = EnumerateOurPrinter(Simulator(), level);
        EXPECT_FALSE(fromWine.sizeResult);
        EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), fromWine.sizeError);
        EXPECT_EQ(fromWine.sizeResult, fromSimulator.sizeResult);
        EXPECT_EQ(fromWine.sizeError, fromSimulator.sizeError);
        ASSERT_TRUE(fromWine.found);
        ASSERT_TRUE(fromSimulator.found);
        EXPECT_EQ(fromWine.texts, fromSimulator.texts);
        EXPECT_EQ(fromWine.nulls, fromSimulator.nulls);
    }
    for (const SpoolerApi& api : {Wine(), Simulator()}) {
        DWORD needed = 0;
        DWORD returned = 0;
        SetLastError(kMarker);
        EXPECT_FALSE(api.enumPrinters(PRINTER_ENUM_LOCAL, nullptr, 3, nullptr, 0, &needed, &returned)) << api.label;
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_LEVEL), GetLastError()) << api.label;
    }
}

TEST_F(SerialWineConformance, OpenedPrinterLevelTwoAndPrinterData)
{
    struct Answers {
        std::vector<std::string> level2;
        DWORD shortResult, shortError, dataCode, moreDataCode, moreDataNeeded, missingCode, unknownOpenError;
        std::string value;
    };
    auto ask = [](const SpoolerApi& api) {
        Answers a = {};
        HANDLE printer = nullptr;
        EXPECT_TRUE(api.openPrinter(const_cast<char*>(kPrinterName), &printer, nullptr)) << api.label;
        DWORD needed = 0;
        SetLastError(kMarker);
        a.shortResult = api.getPrinter(printer, 2, nullptr, 0, &needed);
        a.shortError = GetLastError();
        CallerBuffer buffer(needed);
        EXPECT_TRUE(api.getPrinter(printer, 2, buffer.data(), needed, &needed)) << api.label;
        const PRINTER_INFO_2A* info = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
        for (const char* f : {info->pPrinterName, info->pPortName, info->pDriverName, info->pPrintProcessor,
                              info->pDatatype}) {
            EXPECT_TRUE(buffer.HoldsString(f, sizeof(PRINTER_INFO_2A))) << api.label;
            a.level2.push_back(Show(f));
        }
        char value[64] = {};
        DWORD type = 0;
        a.dataCode = api.getPrinterData(printer, const_cast<char*>("VantoDriver08"), &type,
                                        reinterpret_cast<BYTE*>(value), sizeof(value), &needed);
        a.value = value;
        a.moreDataCode = api.getPrinterData(printer, const_cast<char*>("VantoDriver08"), &type,
                                            reinterpret_cast<BYTE*>(value), 1, &a.moreDataNeeded);
        a.missingCode = api.getPrinterData(printer, const_cast<char*>("PellPrinter"), &type,
                                           reinterpret_cast<BYTE*>(value), sizeof(value), &needed);
        api.closePrinter(printer);
        HANDLE none = nullptr;
        SetLastError(kMarker);
        EXPECT_FALSE(api.openPrinter(const_cast<char*>("Trelun No Such Printer"), &none, nullptr));
        a.unknownOpenError = GetLastError();
        return a;
    };
    const Answers w = ask(Wine());
    const Answers s = ask(Simulator());
    EXPECT_EQ(w.level2, s.level2);
    EXPECT_EQ(FALSE, static_cast<BOOL>(w.shortResult));
    EXPECT_EQ(w.shortResult, s.shortResult);
    EXPECT_EQ(w.shortError, s.shortError);
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), w.dataCode);
    EXPECT_EQ(w.dataCode, s.dataCode);
    EXPECT_EQ("yes", w.value);
    EXPECT_EQ(w.value, s.value);
    EXPECT_EQ(static_cast<DWORD>(ERROR_MORE_DATA), w.moreDataCode);
    EXPECT_EQ(w.moreDataCode, s.moreDataCode);
    EXPECT_EQ(w.moreDataNeeded, s.moreDataNeeded);
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), w.missingCode);
    EXPECT_EQ(w.missingCode, s.missingCode);
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PRINTER_NAME), w.unknownOpenError);
    EXPECT_EQ(w.unknownOpenError, s.unknownOpenError);
}

TEST_F(SerialWineConformance, DriversProcessorsDirectoriesAndMonitors)
{
    struct Answers {
        std::string driver;
        std::string printerDriver;
        std::vector<std::string> processors;
        std::vector<std::string> directories;
        DWORD bogusDirectoryError, unknownMonitorError;
    };
    auto ask = [](const SpoolerApi& api) {
        Answers a = {};
        DWORD needed = 0;
        DWORD returned = 0;
        api.enumDrivers(nullptr, nullptr, 2, nullptr, 0, &needed, &returned);
        CallerBuffer drivers(needed);
        EXPECT_TRUE(api.enumDrivers(nullptr, nullptr, 2, drivers.data(), needed, &needed, &returned)) << api.label;
        for (DWORD i = 0; i < returned; ++i) {
            const DRIVER_INFO_2A& d = reinterpret_cast<const DRIVER_INFO_2A*>(drivers.data())[i];
            if (Show(d.pName) == kDriverName) {
                EXPECT_TRUE(drivers.HoldsString(d.pDriverPath, returned * sizeof(DRIVER_INFO_2A))) << api.label;
                a.driver = std::to_string(d.cVersion) + " " + d.pEnvironment;
            }
        }
        HANDLE printer = nullptr;
        api.openPrinter(const_cast<char*>(kPrinterName), &printer, nullptr);
        api.getDriver(printer, nullptr, 2, nullptr, 0, &needed);
        CallerBuffer driver(needed);
        if (api.getDriver(printer, nullptr, 2, driver.data(), needed, &needed)) {
            const DRIVER_INFO_2A* d = reinterpret_cast<const DRIVER_INFO_2A*>(driver.data());
            a.printerDriver = std::to_string(d->cVersion) + " " + Show(d->pName) + " " + Show(d->pEnvironment);
        }
        api.closePrinter(printer);

        api.enumProcessors(nullptr, nullptr, 1, nullptr, 0, &needed, &returned);
        CallerBuffer processors(needed);
        EXPECT_TRUE(api.enumProcessors(nullptr, nullptr, 1, processors.data(), needed, &needed, &returned));
        for (DWORD i = 0; i < returned; ++i) {
            const char* name = reinterpret_cast<const PRINTPROCESSOR_INFO_1A*>(processors.data())[i].pName;
            EXPECT_TRUE(processors.HoldsString(name, returned * sizeof(PRINTPROCESSOR_INFO_1A))) << api.label;
            a.processors.push_back(Show(name));
        }

        for (const char* environment : {static_cast<const char*>(nullptr), "Windows NT x86", "Windows 4.0"}) {
            char directory[MAX_PATH] = {};
            api.driverDirectory(nullptr, const_cast<char*>(environment), 1, reinterpret_cast<BYTE*>(directory),
                                sizeof(directory), &needed);
            a.directories.push_back(directory);
            api.processorDirectory(nullptr, const_cast<char*>(environment), 1, reinterpret_cast<BYTE*>(directory),
                                   sizeof(directory), &needed);
            a.directories.push_back(directory);
        }
        char directory[MAX_PATH];
        SetLastError(kMarker);
        EXPECT_FALSE(api.driverDirectory(nullptr, const_cast<char*>("bogus"), 1, reinterpret_cast<BYTE*>(directory),
                                         sizeof(directory), &needed));
        a.bogusDirectoryError = GetLastError();
        SetLastError(kMarker);
        EXPECT_FALSE(api.deleteMonitor(nullptr, nullptr, const_cast<char*>("Trelun No Such Monitor")));
        a.unknownMonitorError = GetLastError();
        return a;
    };
    const Answers w = ask(Wine());
    const Answers s = ask(Simulator());
    EXPECT_EQ(std::string("3 ") + spoolsim::kNativeEnvironment, w.driver);
    EXPECT_EQ(w.driver, s.driver);
    EXPECT_EQ(std::string("3 ") + kDriverName + " " + spoolsim::kNativeEnvironment, w.printerDriver);
    EXPECT_EQ(w.printerDriver, s.printerDriver);
    EXPECT_EQ(w.processors, s.processors);
    EXPECT_EQ(w.directories, s.directories);
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_ENVIRONMENT), w.bogusDirectoryError);
    EXPECT_EQ(w.bogusDirectoryError, s.bogusDirectoryError);
    EXPECT_EQ(static_cast<DWORD>(ERROR_UNKNOWN_PRINT_MONITOR), w.unknownMonitorError);
    EXPECT_EQ(w.unknownMonitorError, s.unknownMonitorError);
}
