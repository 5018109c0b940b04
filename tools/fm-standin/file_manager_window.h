// What the stand-in file manager does differently on each platform: a
// stand-in window on Linux, a real window with a toolbar on Windows.
#pragma once

#include <windows.h>

#include "app/file_manager_facts.h"
#include "text/cstring.h"
#include "tools/fm-standin/close_delay.h"
#include "tools/fm-standin/drive_bar_view.h"

// Exit codes of the stand-in file manager.
const int kExitClosed = 0;
const int kExitBadOption = 2;
const int kExitNoIniFile = 3;
const int kExitNoWindow = 4;

// Writes text to standard output (or standard error) as UTF-8, at once,
// when the program has one.
void WriteOutput(const CString &text);
void WriteError(const CString &text);

// Opens the window showing the drive bar, writes "window: <title>" once it
// can be found, answers every message sent to it at once, and after the
// close command waits out `delay` before the window goes. Returns the exit
// code.
int RunFileManagerWindow(const DriveBarView &view, const CloseDelay &delay);
