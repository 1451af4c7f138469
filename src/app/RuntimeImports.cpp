// The C++ runtime's thread library asks kernel32 for GetTickCount64 by name, which Windows XP lacks: a
// program importing it does not start there at all. Its import slot is filled here instead, with the
// program's own count, which uses the system's call where there is one. Linked into the program itself,
// so that the slot is defined before the libraries that want it are searched.
#include <windows.h>

#include "ui/Fallbacks.h"

extern "C" {

static ULONGLONG WINAPI TickCount64ForRuntime() { return ui::TickCount64(); }

#if defined(__i386__)
ULONGLONG(WINAPI *TickCount64Slot)() __asm__("__imp__GetTickCount64@0") = TickCount64ForRuntime;
#elif defined(__x86_64__)
ULONGLONG(WINAPI *TickCount64Slot)() __asm__("__imp_GetTickCount64") = TickCount64ForRuntime;
#endif

} // extern "C"
