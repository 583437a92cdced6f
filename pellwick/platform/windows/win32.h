#pragma once
// The Win32 headers as this layer includes them: without the min/max macros and the
// rarely used parts, plus the shell's notification-area calls.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

// After windows.h, which it builds on.
#include <shellapi.h>
