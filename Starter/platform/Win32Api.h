// The Win32 API as the starter uses it: the ANSI forms, Win32's own types.
// Nothing outside platform/ includes windows.h: everything goes through this
// header. Code that needs no Windows (the text and number rules) includes
// nothing of platform/ and builds natively as well; anything that includes
// this header builds for Windows only.
#pragma once

#ifndef _WIN32
#  error "platform/Win32Api.h is for Windows builds; code that needs no Windows must not include it"
#endif

#ifndef WIN32_LEAN_AND_MEAN
#  define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#  define NOMINMAX
#endif
#include <windows.h>
#include <shellapi.h>
