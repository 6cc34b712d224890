// The package's copies of its INF files ("oem*.inf" with their precompiled
// ".PNF" twins) in the Windows INF directory.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

// Size of the buffer that receives a matched INF file name.
const std::size_t kOemInfNameSize = 20;

// The first "oem*" INF whose [Strings] "PrinterName1" is the driver's name
// (A-Z folded) and none of whose "PrinterName<n>" names a driver still
// installed; empty when there is none. Another driver's INF that merely
// contains the name, or one a remaining driver still needs, is never taken.
void FindOemInfForDriver(char (&result)[kOemInfNameSize], const char* driverName,
                         const std::vector<std::string>& installedDrivers);

// SetupUninstallOEMInfA on the file part of the name, looked up at run time;
// 0 on success, 2 on any failure.
int UninstallOemInf(const char* fileName);

// Deletes the found INF (and its PNF twin) when its line number lineNumber
// (counting from 1) begins with marker and it names none of the installed
// drivers. infDirectory ends with a backslash.
void RemoveMarkedOemInf(const WIN32_FIND_DATAA& found, const char* infDirectory, int lineNumber,
                        const char* marker, const std::vector<std::string>& installedDrivers);

// Runs RemoveMarkedOemInf for every "oem*.inf" of the Windows INF directory.
void RemoveMarkedOemInfs(int lineNumber, const char* marker, const std::vector<std::string>& installedDrivers);
