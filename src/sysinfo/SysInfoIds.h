#pragma once
// The System Info Manager's context menu, shared by the resource script and the window.
#define IDR_SYSINFOMENU 110
#define IDM_SI_REFRESH 1701
#define IDM_SI_ABOUT 1702
#define IDM_SI_EXIT 1703
