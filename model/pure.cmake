# Text code of this folder that needs no windows.h (the fuzz build takes it).
set(trelun_model_pure_sources IniText.cpp RegistryLine.cpp ScriptFormat.cpp UninstallProfile.cpp
  ScriptProblems.cpp InstalledPrinter.cpp PrinterList.cpp CommandLineSwitches.cpp SwitchFilter.cpp SwitchCheck.cpp)
