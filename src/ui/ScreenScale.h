#pragma once
#include <windows.h>

namespace ui {

// The program's windows are drawn up in pixels of a 96-DPI screen. At another system DPI their sizes and
// positions grow with the system's font, as the forms of the old framework grew with it: this is the one
// place that turns those pixels into the screen's.

// The screen's pixels per inch as the program sees it (the system DPI: it stays for the process's life).
int ScreenDpi();
// A length of 96-DPI pixels in the screen's pixels.
int Scaled(int pixels96);

// Puts a form's children, placed in 96-DPI pixels, where they go on this screen: each child's bounds (and
// a drop-down box's list height) grow by the screen's scale, group boxes go beneath the controls they
// frame, and the form and its panels lay out their own children again. The form's own size is its own.
void ScaleChildren(HWND form);

} // namespace ui
