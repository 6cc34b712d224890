// What the component tests of the removers share: a removal sequence with
// its database, the spooler simulator and recorded message boxes; and small
// registry and file helpers for checking what the removers left behind.
#pragma once
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "DatabaseBuilder.h"
#include "DialogDriver.h"
#include "RemovalSequence.h"
#include "OSInfo.h"
#include "PendingRenames.h"
#include "SimulatedSpooler.h"
#include "TestPaths.h"
#include "TestRegistry.h"
#include "UninstallDatabase.h"
#include "VersionRecords.h"

using namespace versions;

class RemovalTest : public ::testing::Test {
protected:
    void SetUp() override;

    // The sequence and the database classify the system as given.
    void UseSystem(const COSInfo& os);
    // The sequence under test: the fixture's own, or a page's.
    virtual RemovalSequence& Removal() { return removal; }
    // Appends a printer record to the database.
    InstalledPrinter& AddRecord(const char* name, const char* driver, bool chosen, const char* server = "",
                                 int isDefault = 0);
    std::vector<std::string> Journal() const { return spooler.Journal(); }
    // Journal lines that begin with the text.
    std::vector<std::string> JournalStarting(const std::string& prefix) const;

    SimulatedSpooler spooler;
    UninstallDatabase database;
    RemovalSequence removal;
};



// A file held open without delete sharing, so deleting it fails with 32.
class HeldFile {
public:
    explicit HeldFile(const std::string& path);
    ~HeldFile();
    bool Held() const { return handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle;
};

// The MoveFileEx delay list, NULs shown as '|'.
