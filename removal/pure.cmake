# Text code of this folder that needs no windows.h (the fuzz build takes it).
set(trelun_removal_pure_sources LoadLine.cpp HardwareIdMatch.cpp)
