// addbar's answer to a sole --help on Linux; the full reference is addbar(1).
#include "entry/program_about.h"

namespace standin {

const ProgramAbout kProgramAbout = {
    "addbar",
    "Usage: addbar [/S:layout] [/I:ini_file]\n"
    "       addbar --help | --version\n"
    "\n"
    "Adds a drive bar, one button per drive, to the settings of the file manager\n"
    "vantrove: in the registry store, or in the INI file given with /I:. A running\n"
    "vantrove (or fm-standin) is asked to quit first.\n"
    "\n"
    "  /S:layout    use the named layout instead of the default one\n"
    "  /I:ini_file  use the settings kept in this INI file: looked up as written,\n"
    "               then beside the program\n"
    "  --help       show this text (only as the sole argument)\n"
    "  --version    show the version (only as the sole argument)\n"
    "\n"
    "The switch may be / or -, the letter either case. Message boxes are written to\n"
    "standard error and answered from ADDBAR_ANSWERS or the terminal. The exit status\n"
    "is the length of the last box's text (60 or 61 when the drive bar was written),\n"
    "or 100 when the prompt to quit vantrove was cancelled. A shell sees only the low\n"
    "8 bits of it, so a failure whose text is longer than 255 units gives 255.\n"
    "\n"
    "Environment: ADDBAR_REGISTRY, ADDBAR_ANSWERS, ADDBAR_DRIVES, ADDBAR_WINDOWS,\n"
    "ADDBAR_WINDOWS_DIR, ADDBAR_LOCK_PATIENCE_MS. See addbar(1).\n",
};

}  // namespace standin
