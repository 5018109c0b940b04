// The whole-run fuzzer's input: a short script that names the store's kind,
// the drives and where a run is stopped, then the store's keys and values in
// a shorthand every mutation of which still makes a store the stand-in reads.
//
//   #R ACP 3 work        kind (R registry, U INI in UTF-16, A 8-bit INI),
//                        drive letters, the write a run is stopped at, layout
//   [T\0_60159]          a key: T toolbars, L layout root, G global root,
//                        F bookmarks, I bookmark icons, anything else as written
//   @=Standard           the unnamed value (a string)
//   nToolbars=d:3        a DWORD; b:0102 binary; x4:0100 bytes of type 4;
//                        e:text expandable; m:a|b a list; anything else text
//   =C:\                 no name: the registry's unnamed value of type 0, an
//                        INI line "=C:\"
//   !any line            INI only: the line as it is (comments, blanks, lines
//                        without "=", another header)
#pragma once

#include <string>

enum class StoreKind { Registry, IniUtf16, Ini8Bit };

struct StoreScript {
  StoreKind kind = StoreKind::Registry;
  std::string drives = "C";  // ADDBAR_DRIVES
  unsigned stopAt = 0;       // the write a stopped run does not make (from 1)
  std::string layout;        // empty: the default layout
};

// Reads the header line (or keeps the defaults) and returns the rest.
std::string ReadScriptHeader(const std::string &input, StoreScript &script);

// The file bytes of the store the script's body describes. `layoutRoot` and
// `globalRoot` are the roots' paths as a run builds them (registry: below
// HKEY_CURRENT_USER; INI: section prefixes); other key names are taken below
// Software\Harrowmede Plc (registry) or as section names (INI).
std::string MakeStoreFile(const StoreScript &script, const std::string &body,
                          const std::string &layoutRoot, const std::string &globalRoot);
