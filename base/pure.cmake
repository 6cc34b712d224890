# Text code of this folder that needs no windows.h (the fuzz build takes it).
set(trelun_base_pure_sources TextUtil.cpp PathParts.cpp)
