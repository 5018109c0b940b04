// Asking a running file manager to quit before its settings change.
#pragma once

#include <windows.h>

enum class ShutdownOutcome { Continue, Cancelled };

// Looks for the file manager's window; while it is there, asks the user for
// leave to close it (OK/Cancel), sends it the close command and polls for it
// to go. Cancelled when the user refuses.
ShutdownOutcome CloseRunningInstance();
