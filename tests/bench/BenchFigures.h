// The figures of the benchmark program, one function each; each prints its
// lines and returns 0, or 1 when the work could not be set up or checked.
#pragma once

int BenchLoading(int runs);
int BenchEnumeration(int runs);
int BenchFiles(int runs);
int BenchRemovalSteps(int runs);
// The program itself from start to exit: before each run the installer's
// command line lays the package down; then program runs with its
// arguments, which tell it to write the log at logPath.
int BenchProgram(int runs, const char* installer, const char* program, const char* arguments, const char* logPath);
