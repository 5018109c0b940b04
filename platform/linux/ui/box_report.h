// How the stand-in's message boxes appear on standard error, and how a test
// reads them back. Every line of a box begins with kBoxLinePrefix, so other
// output can't be mistaken for a box:
//
//   [message box] begin
//   [message box] caption: Error
//   [message box] style: 0x00000010
//   [message box] text: first line of the text
//   [message box] text: second line
//   [message box] answer: 1 (OK)
//   [message box] end
//
// A caption or text with line feeds takes one line per piece, in order, so
// any text comes back exactly as it was shown.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Included by the tests' program runner too, so only public headers here.
namespace standin {

using BoxText = std::basic_string<WCHAR>;

extern const char kBoxLinePrefix[];

struct BoxReport {
  BoxText caption;
  BoxText text;
  UINT style = 0;
  int answer = 0;  // 0 while the box is still open (or the program died in it)
};

// The lines written when the box appears (begin, caption, style, text).
std::string FormatBoxOpening(const BoxText &caption, const BoxText &text, UINT style);
// The lines written when it is answered (answer, end).
std::string FormatBoxClosing(int answer);

// Every box found in `output`, in order. A box without its end line (the
// program ended while it was open) is still listed.
std::vector<BoxReport> ParseBoxReports(const std::string &output);

}  // namespace standin
