// Linked into every test program on Linux: the program keeps its stand-in
// windows in a folder of its own, made afresh at start-up and removed at the
// end, and the programs it starts inherit it. A stand-in the user runs, or
// one that another test program runs beside it, is then never found nor asked
// to quit. Tests about other folders set ADDBAR_WINDOWS themselves.
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

class PrivateWindowFolder {
 public:
  PrivateWindowFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "addbar-test-windows-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      std::perror("addbar tests: can't make a private window folder");
      std::abort();
    }
    m_parent = pattern;
    // The stand-in makes the folder itself, private, with the first window.
    setenv("ADDBAR_WINDOWS", (m_parent + "/windows").c_str(), 1);
  }

  ~PrivateWindowFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_parent, ignored);
  }

 private:
  std::string m_parent;
};

const PrivateWindowFolder kPrivateWindowFolder;

}  // namespace
