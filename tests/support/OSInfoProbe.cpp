// Prints how COSInfo classifies the system it runs on.
#include <cstdio>

#include "OSInfo.h"

int main()
{
    COSInfo os;
    std::printf("platform=%d version=%d id=%lu major=%lu minor=%lu\n", os.GetPlatformKind(),
                os.GetVersionKind(), os.version.dwPlatformId, os.version.dwMajorVersion,
                os.version.dwMinorVersion);
    std::fflush(stdout);
    return os.GetPlatformKind() * 16 + os.GetVersionKind();
}
