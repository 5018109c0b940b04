// fm-standin's answer to a sole --help on Linux; the full reference is
// fm-standin(1).
#include "entry/program_about.h"

namespace standin {

const ProgramAbout kProgramAbout = {
    "fm-standin",
    "Usage: fm-standin [/S:layout] [/I:ini_file] [/D:seconds | /D:never]\n"
    "       fm-standin --help | --version\n"
    "\n"
    "Stands in for a running vantrove: prints the drive bar it finds in the\n"
    "settings store and keeps the window that addbar asks to quit.\n"
    "\n"
    "  /S:layout    read the named layout, as addbar does\n"
    "  /I:ini_file  read this INI file, looked up as addbar does\n"
    "  /D:seconds   stay that long after the close command (/D:never: stay);\n"
    "               without /D: it quits at once\n"
    "\n"
    "Exit status: 0 the window closed, 2 a bad /D: value, 3 the INI file was not\n"
    "found, 4 the window could not be made. See fm-standin(1).\n",
};

}  // namespace standin
