/* The posix-thread runtime of mingw-w64 (libwinpthread) imports
 * GetTickCount64, which Windows XP does not have: a program linking it would
 * not even start there. This file takes the place of that import for the
 * programs we ship: the first call looks the function up, and where it is
 * missing a widened GetTickCount serves instead. */
#include <windows.h>

typedef ULONGLONG(WINAPI* TickCount64)(void);

/* GetTickCount with its wraps counted. Callers ask often (waits and
 * timeouts), so no wrap of 49.7 days passes unseen. */
static ULONGLONG WINAPI widened_tick_count(void) {
    static volatile LONG wraps = 0;
    static volatile LONG last = 0;
    DWORD now = GetTickCount();
    DWORD before = (DWORD)InterlockedExchange(&last, (LONG)now);
    if (now < before && before - now > 0x80000000u) InterlockedIncrement(&wraps);
    return ((ULONGLONG)(DWORD)wraps << 32) | now;
}

static ULONGLONG WINAPI first_tick_count64(void);

#if defined(__x86_64__)
#define IMPORT_SLOT "__imp_GetTickCount64"
#else
#define IMPORT_SLOT "__imp__GetTickCount64@0"
#endif
TickCount64 tick_count64_slot __asm__(IMPORT_SLOT) = first_tick_count64;

static ULONGLONG WINAPI first_tick_count64(void) {
    FARPROC found = GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetTickCount64");
    TickCount64 chosen = found ? (TickCount64)(void*)found : widened_tick_count;
    tick_count64_slot = chosen;
    return chosen();
}
