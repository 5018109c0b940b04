// Owning a top-level window on the Linux build. A program that stands in for
// a Windows application creates its window here; other processes then find it
// with FindWindowW and send it messages with SendMessageW, each sender waiting
// for the answer as on Windows. Only the message number and the two numbers
// travel: messages whose parameters point at memory are not carried over.
// Not an SDK header: the Windows build uses real windows instead.
#pragma once

#include <windows.h>

struct StandinWindow;

struct StandinMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

enum class StandinWait { Message, Timeout, Failed };

const DWORD kStandinWaitForever = 0xFFFFFFFF;

// Creates a top-level window titled `title` (compared without regard to case,
// as FindWindowW does). Null, with the last error set, when the window folder
// is missing and can't be made, isn't the user's own, or can't be written.
StandinWindow *StandinCreateWindow(LPCWSTR title);

// Waits up to `timeoutMs` milliseconds for the next message sent to the
// window. A message received is answered with StandinReplyMessage; one still
// unanswered when the next wait begins gets the answer 0.
StandinWait StandinWaitMessage(StandinWindow *window, DWORD timeoutMs, StandinMessage *message);

// Answers the message last received: the sender's SendMessageW returns `result`.
void StandinReplyMessage(StandinWindow *window, LRESULT result);

// The window is gone: FindWindowW no longer finds it, and a sender still
// waiting for an answer gets 0. Null is ignored.
void StandinDestroyWindow(StandinWindow *window);
