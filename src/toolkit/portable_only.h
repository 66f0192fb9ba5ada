// Included last by every portable source file. The portable core must build and
// behave the same on Linux and Windows, so it may not lean on the Windows headers:
// if one slipped in through an include chain, stop the build here.
#pragma once
#if defined(_WINDOWS_) || defined(_WINDOWS_H)
#error "portable core code must not include <windows.h>; put platform code in a *_win32.cpp file"
#endif
