#pragma once
// The one main window of the Windows program and the procedures the platform
// calls on it.

#include <windows.h>

// Null until CreateWindowExA has returned; every timer, redraw, menu and
// dialog call of the game goes through it.
extern HWND mainWindow;

extern const char MainWindowClassName[];

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A menu command chosen from the main window's menu.
void OnMenuCommand(int id);

INT_PTR CALLBACK NameEntryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK TopTenDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SetKeysDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
