#pragma once
// The one place the program's version lives: the version resource and the caption both read it.
#define ZELVOR_VERSION_BINARY 1, 0, 0, 0
#define ZELVOR_VERSION_TEXT "1.0.0.0"
#define ZELVOR_COMPANY "Kestrune"
#define ZELVOR_PRODUCT "Zelvor"
#define ZELVOR_EXE_NAME "Zelvor.exe"
