/* The stack protector's guard and failure handlers. GCC's own (libssp) seed
   the guard through CryptoAPI, which the first Windows 95 releases lack, and
   a static import of it would stop the program from starting there. These
   take CryptGenRandom when the system has it and otherwise mix counters
   that differ from one start to the next. */
#if defined(__GNUC__) && !defined(__clang__)
#include <windows.h>
#include <wincrypt.h>
#include <stdlib.h>

/* A non-zero value until the constructor below runs. */
UINT_PTR __stack_chk_guard = (UINT_PTR)0x2f8c41d7u;

typedef BOOL(WINAPI* AcquireContextFn)(UINT_PTR*, LPCSTR, LPCSTR, DWORD, DWORD);
typedef BOOL(WINAPI* GenRandomFn)(UINT_PTR, DWORD, BYTE*);
typedef BOOL(WINAPI* ReleaseContextFn)(UINT_PTR, DWORD);

static int RandomFromCryptoApi(UINT_PTR* value)
{
    /* Crypto functions live in advapi32, which the program loads anyway. */
    HMODULE advapi = GetModuleHandleA("advapi32.dll");
    AcquireContextFn acquire;
    GenRandomFn generate;
    ReleaseContextFn release;
    UINT_PTR provider = 0;
    int ok = 0;
    if (advapi == NULL)
        return 0;
    acquire = (AcquireContextFn)(void (*)(void))GetProcAddress(advapi, "CryptAcquireContextA");
    generate = (GenRandomFn)(void (*)(void))GetProcAddress(advapi, "CryptGenRandom");
    release = (ReleaseContextFn)(void (*)(void))GetProcAddress(advapi, "CryptReleaseContext");
    if (acquire == NULL || generate == NULL || release == NULL)
        return 0;
    if (!acquire(&provider, NULL, NULL, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT | CRYPT_SILENT))
        return 0;
    ok = generate(provider, sizeof(*value), (BYTE*)value) != FALSE;
    release(provider, 0);
    return ok;
}

static UINT_PTR RandomFromCounters(void)
{
    LARGE_INTEGER counter;
    UINT_PTR value = (UINT_PTR)GetTickCount() * 2654435761u;
    if (QueryPerformanceCounter(&counter))
        value ^= (UINT_PTR)counter.LowPart * 40503u ^ (UINT_PTR)counter.HighPart;
    value ^= (UINT_PTR)GetCurrentProcessId() << 16;
    value ^= (UINT_PTR)GetCurrentThreadId();
    value ^= (UINT_PTR)&counter;
    return value;
}

/* Constructors run from the start-up code, which itself is not protected,
   one after another: no protected frame sees the guard change. */
__attribute__((constructor)) static void SeedStackGuard(void)
{
    UINT_PTR value = 0;
    if (!RandomFromCryptoApi(&value) || value == 0)
        value = RandomFromCounters();
    if (value != 0)
        __stack_chk_guard = value;
}

void __stack_chk_fail(void)
{
    abort();
}

void __chk_fail(void)
{
    abort();
}
#endif
