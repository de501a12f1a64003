#pragma once
#define IDI_MAINICON 1
#define IDI_ABOUT 2
// The tray animation's eight images follow each other.
#define IDI_TRAY0 10
#define IDI_TRAY1 11
#define IDI_TRAY2 12
#define IDI_TRAY3 13
#define IDI_TRAY4 14
#define IDI_TRAY5 15
#define IDI_TRAY6 16
#define IDI_TRAY7 17
