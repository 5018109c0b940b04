#include "drivebar/file_manager_store.h"

#include <algorithm>
#include <cstdlib>

using testing_support::Narrow;
using testing_support::Wide;

namespace {

const char kBaseName[] = "vantrove_UC";

// ---- Registry ---------------------------------------------------------------------------

class RegistryStore : public FileManagerStore {
 public:
  RegistryStore(const std::string &base, const std::string &layout)
      : m_base(base), m_layout(layout) {}

  std::string RootPath(StoreRoot root) const {
    std::string path = m_base + "\\" + kBaseName;
    if (root == StoreRoot::Global) return path + ".global";
    return m_layout.empty() ? path : path + "." + m_layout;
  }

  WString KeyPath(StoreRoot root, const std::string &key) const {
    return Wide(key.empty() ? RootPath(root) : RootPath(root) + "\\" + key);
  }

  HKEY Create(StoreRoot root, const std::string &key) {
    HKEY handle = nullptr;
    LONG status = RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath(root, key).c_str(), 0, nullptr, 0,
                                  KEY_READ | KEY_WRITE, nullptr, &handle, nullptr);
    EXPECT_EQ(status, ERROR_SUCCESS) << "creating " << key;
    return handle;
  }

  HKEY Open(StoreRoot root, const std::string &key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, KeyPath(root, key).c_str(), 0, KEY_READ, &handle) !=
        ERROR_SUCCESS) {
      return nullptr;
    }
    return handle;
  }

  void Set(StoreRoot root, const std::string &key, const char *name, DWORD type, const void *data,
           DWORD size) {
    HKEY handle = Create(root, key);
    if (handle == nullptr) return;
    WString valueName = name == nullptr ? WString() : Wide(name);
    EXPECT_EQ(RegSetValueExW(handle, name == nullptr ? nullptr : valueName.c_str(), 0, type,
                             static_cast<const BYTE *>(data), size),
              ERROR_SUCCESS);
    RegCloseKey(handle);
  }

  bool Get(StoreRoot root, const std::string &key, const char *name, DWORD wantedType,
           std::string &bytes) {
    HKEY handle = Open(root, key);
    if (handle == nullptr) return false;
    WString valueName = name == nullptr ? WString() : Wide(name);
    LPCWSTR namePointer = name == nullptr ? nullptr : valueName.c_str();
    DWORD type = REG_NONE;
    DWORD size = 0;
    bool found =
        RegQueryValueExW(handle, namePointer, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        type == wantedType;
    if (found) {
      bytes.assign(size, '\0');
      found = size == 0 ||
              RegQueryValueExW(handle, namePointer, nullptr, &type,
                               reinterpret_cast<BYTE *>(&bytes[0]), &size) == ERROR_SUCCESS;
      bytes.resize(size);
    }
    RegCloseKey(handle);
    return found;
  }

  void CreateKey(StoreRoot root, const std::string &key) override {
    HKEY handle = Create(root, key);
    if (handle != nullptr) RegCloseKey(handle);
  }

  void SetDword(StoreRoot root, const std::string &key, const char *name, DWORD value) override {
    Set(root, key, name, REG_DWORD, &value, sizeof value);
  }

  void SetString(StoreRoot root, const std::string &key, const char *name,
                 const std::string &text) override {
    WString wide = Wide(text);
    Set(root, key, name, REG_SZ, wide.c_str(), static_cast<DWORD>((wide.size() + 1) * 2));
  }

  void SetBinary(StoreRoot root, const std::string &key, const char *name,
                 const std::string &bytes) override {
    Set(root, key, name, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
  }

  void DeleteValue(StoreRoot root, const std::string &key, const char *name) override {
    HKEY handle = Create(root, key);
    if (handle == nullptr) return;
    WString valueName = name == nullptr ? WString() : Wide(name);
    RegDeleteValueW(handle, name == nullptr ? nullptr : valueName.c_str());
    RegCloseKey(handle);
  }

  void AddNamelessValue(StoreRoot root, const std::string &key, const std::string &) override {
    Set(root, key, nullptr, REG_NONE, nullptr, 0);
  }

  bool GetDword(StoreRoot root, const std::string &key, const char *name, DWORD &value) override {
    std::string bytes;
    if (!Get(root, key, name, REG_DWORD, bytes) || bytes.size() != 4) return false;
    value = static_cast<DWORD>(static_cast<unsigned char>(bytes[0])) |
            static_cast<DWORD>(static_cast<unsigned char>(bytes[1])) << 8 |
            static_cast<DWORD>(static_cast<unsigned char>(bytes[2])) << 16 |
            static_cast<DWORD>(static_cast<unsigned char>(bytes[3])) << 24;
    return true;
  }

  bool GetString(StoreRoot root, const std::string &key, const char *name,
                 std::string &text) override {
    std::string bytes;
    if (!Get(root, key, name, REG_SZ, bytes)) return false;
    WString wide;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
      WCHAR unit = static_cast<WCHAR>(static_cast<unsigned char>(bytes[i]) |
                                      static_cast<unsigned char>(bytes[i + 1]) << 8);
      if (unit == 0) break;
      wide += unit;
    }
    text = Narrow(wide);
    return true;
  }

  bool GetBinary(StoreRoot root, const std::string &key, const char *name,
                 std::string &bytes) override {
    return Get(root, key, name, REG_BINARY, bytes);
  }

  std::vector<std::string> ValueNames(StoreRoot root, const std::string &key) override {
    std::vector<std::string> names;
    HKEY handle = Open(root, key);
    if (handle == nullptr) return names;
    for (DWORD index = 0;; ++index) {
      WCHAR name[1024];
      DWORD length = 1024;
      if (RegEnumValueW(handle, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS) {
        break;
      }
      names.push_back(Narrow(WString(name, length)));
    }
    RegCloseKey(handle);
    return names;
  }

  std::vector<std::string> EnumerationOrder(StoreRoot root, const std::string &key) override {
    return ValueNames(root, key);
  }

  std::vector<std::string> SubKeys(StoreRoot root, const std::string &key) override {
    std::vector<std::string> names;
    HKEY handle = Open(root, key);
    if (handle == nullptr) return names;
    for (DWORD index = 0;; ++index) {
      WCHAR name[1024];
      DWORD length = 1024;
      if (RegEnumKeyExW(handle, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS) {
        break;
      }
      names.push_back(Narrow(WString(name, length)));
    }
    RegCloseKey(handle);
    std::sort(names.begin(), names.end());
    return names;
  }

  std::vector<WString> ProgramOptions() const override {
    if (m_layout.empty()) return {};
    return {Wide("/S:" + m_layout)};
  }

  void BindRoots(CSettingsRoot &layoutRoot, CSettingsRoot &globalRoot) const override {
    layoutRoot.Init(Wide(RootPath(StoreRoot::Layout)).c_str(), HKEY_CURRENT_USER);
    globalRoot.Init(Wide(RootPath(StoreRoot::Global)).c_str(), HKEY_CURRENT_USER);
  }

  // The stand-in's store is one file; a Windows registry key can't be made
  // read-only for its owner this simply.
  bool MakeUnwritable() override {
    const char *file = std::getenv("ADDBAR_REGISTRY");
    if (testing_support::CurrentPlatform() != testing_support::Platform::LinuxStandIn ||
        file == nullptr) {
      return false;
    }
    testing_support::MakeReadOnly(Wide(file));
    return true;
  }

  std::string Snapshot() override {
    std::string dump;
    DumpKey(Wide(RootPath(StoreRoot::Layout)), dump);
    DumpKey(Wide(RootPath(StoreRoot::Global)), dump);
    return dump;
  }

  // Names, types and bytes of every value and sub-key, depth first.
  static void DumpKey(const WString &path, std::string &dump) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
      return;
    }
    dump += "[" + Narrow(path) + "]\n";
    for (DWORD index = 0;; ++index) {
      WCHAR name[1024];
      DWORD length = 1024;
      BYTE data[4096];
      DWORD size = sizeof data;
      DWORD type = REG_NONE;
      if (RegEnumValueW(handle, index, name, &length, nullptr, &type, data, &size) !=
          ERROR_SUCCESS) {
        break;
      }
      dump += Narrow(WString(name, length)) + " " + std::to_string(type) + " " +
              std::string(reinterpret_cast<char *>(data), size) + "\n";
    }
    std::vector<WString> children;
    for (DWORD index = 0;; ++index) {
      WCHAR name[1024];
      DWORD length = 1024;
      if (RegEnumKeyExW(handle, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS) {
        break;
      }
      children.push_back(WString(name, length));
    }
    RegCloseKey(handle);
    for (const WString &child : children) DumpKey(path + Wide("\\") + child, dump);
  }

 private:
  std::string m_base;
  std::string m_layout;
};

// ---- INI file ------------------------------------------------------------------------------

class IniStore : public FileManagerStore {
 public:
  IniStore(const WString &file, const std::string &layout) : m_file(file), m_layout(layout) {
    if (!testing_support::FileExists(m_file)) {
      testing_support::WriteBytes(m_file, testing_support::Utf16File(WString()));
    }
  }

  std::string RootSection(StoreRoot root) const {
    std::string section = kBaseName;
    if (!m_layout.empty()) section += "." + m_layout;
    return root == StoreRoot::Global ? section + ".global" : section;
  }

  WString Section(StoreRoot root, const std::string &key) const {
    return Wide(key.empty() ? RootSection(root) : RootSection(root) + "\\" + key);
  }

  static WString Entry(const char *name) {
    return name == nullptr || *name == '\0' ? Wide("@") : Wide(name);
  }

  void WriteEntry(StoreRoot root, const std::string &key, const char *name, const WString &text) {
    EXPECT_TRUE(WritePrivateProfileStringW(Section(root, key).c_str(), Entry(name).c_str(),
                                           text.c_str(), m_file.c_str()));
  }

  bool ReadEntry(StoreRoot root, const std::string &key, const char *name, WString &text) {
    // A present entry never reads back as this.
    static const WCHAR kMissing[] = {0x1, 0x2, 0};
    std::vector<WCHAR> buffer(70000, 0);
    DWORD length =
        GetPrivateProfileStringW(Section(root, key).c_str(), Entry(name).c_str(), kMissing,
                                 buffer.data(), static_cast<DWORD>(buffer.size()), m_file.c_str());
    text.assign(buffer.data(), length);
    return text != kMissing;
  }

  void CreateKey(StoreRoot root, const std::string &key) override {
    // A section exists for the profile calls only once it has a line.
    WString text;
    if (!ReadEntry(root, key, nullptr, text)) WriteEntry(root, key, nullptr, WString());
  }

  void SetDword(StoreRoot root, const std::string &key, const char *name, DWORD value) override {
    WriteEntry(root, key, name, Wide(std::to_string(static_cast<LONG>(value))));
  }

  void SetString(StoreRoot root, const std::string &key, const char *name,
                 const std::string &text) override {
    WriteEntry(root, key, name, Wide(text));
  }

  void SetBinary(StoreRoot root, const std::string &key, const char *name,
                 const std::string &bytes) override {
    std::string copy = bytes;
    EXPECT_TRUE(WritePrivateProfileStructW(Section(root, key).c_str(), Entry(name).c_str(),
                                           copy.empty() ? nullptr : &copy[0],
                                           static_cast<UINT>(copy.size()), m_file.c_str()));
  }

  void DeleteValue(StoreRoot root, const std::string &key, const char *name) override {
    WritePrivateProfileStringW(Section(root, key).c_str(), Entry(name).c_str(), nullptr,
                               m_file.c_str());
  }

  // The profile calls write no line without a name: one is written under a
  // stand-in name, which then goes from the file.
  void AddNamelessValue(StoreRoot root, const std::string &key, const std::string &text) override {
    WriteEntry(root, key, "\x01", Wide(text));
    std::string bytes = testing_support::ReadBytes(m_file);
    const bool wide = bytes.compare(0, 2, "\xFF\xFE") == 0;
    const std::string placeholder = wide ? std::string("\x01\0=\0", 4) : std::string("\x01=");
    size_t at = bytes.find(placeholder);
    ASSERT_NE(at, std::string::npos);
    bytes.erase(at, wide ? 2 : 1);
    testing_support::WriteBytes(m_file, bytes);
  }

  bool GetDword(StoreRoot root, const std::string &key, const char *name, DWORD &value) override {
    WString text;
    if (!ReadEntry(root, key, name, text) || text.empty()) return false;
    try {
      value = static_cast<DWORD>(std::stoll(Narrow(text)));
    } catch (...) {
      return false;
    }
    return true;
  }

  bool GetString(StoreRoot root, const std::string &key, const char *name,
                 std::string &text) override {
    WString wide;
    if (!ReadEntry(root, key, name, wide)) return false;
    text = Narrow(wide);
    return true;
  }

  bool GetBinary(StoreRoot root, const std::string &key, const char *name,
                 std::string &bytes) override {
    WString text;
    // Two hex digits per byte and two for the checksum.
    if (!ReadEntry(root, key, name, text) || text.size() < 2 || text.size() % 2 != 0) {
      return false;
    }
    bytes.assign((text.size() - 2) / 2, '\0');
    char dummy = 0;
    return GetPrivateProfileStructW(Section(root, key).c_str(), Entry(name).c_str(),
                                    bytes.empty() ? &dummy : &bytes[0],
                                    static_cast<UINT>(bytes.size()), m_file.c_str()) != FALSE;
  }

  std::vector<WString> Lines(const WString &section) {
    std::vector<WCHAR> buffer(1 << 20, 0);
    DWORD length = GetPrivateProfileSectionW(section.c_str(), buffer.data(),
                                             static_cast<DWORD>(buffer.size()), m_file.c_str());
    std::vector<WString> lines;
    for (DWORD start = 0; start < length;) {
      WString line(&buffer[start]);
      if (line.empty()) break;
      lines.push_back(line);
      start += static_cast<DWORD>(line.size()) + 1;
    }
    return lines;
  }

  std::vector<std::string> ValueNames(StoreRoot root, const std::string &key) override {
    std::vector<std::string> names;
    for (const WString &line : Lines(Section(root, key))) {
      std::string name = Narrow(line.substr(0, line.find('=')));
      names.push_back(name == "@" ? std::string() : name);
    }
    return names;
  }

  std::vector<std::string> EnumerationOrder(StoreRoot root, const std::string &key) override {
    std::vector<std::string> names;
    for (const WString &line : Lines(Section(root, key))) {
      names.push_back(Narrow(line.substr(0, line.find('='))));
    }
    std::stable_sort(names.begin(), names.end(), [](const std::string &a, const std::string &b) {
      return lstrcmpiW(Wide(a).c_str(), Wide(b).c_str()) < 0;
    });
    for (std::string &name : names) {
      if (name == "@") name.clear();
    }
    return names;
  }

  std::vector<std::string> SubKeys(StoreRoot root, const std::string &key) override {
    std::vector<WCHAR> buffer(1 << 20, 0);
    DWORD length = GetPrivateProfileSectionNamesW(buffer.data(), static_cast<DWORD>(buffer.size()),
                                                  m_file.c_str());
    std::string prefix = Narrow(Section(root, key)) + "\\";
    std::vector<std::string> names;
    for (DWORD start = 0; start < length;) {
      std::string section = Narrow(WString(&buffer[start]));
      if (section.empty()) break;
      start += static_cast<DWORD>(Wide(section).size()) + 1;
      if (section.size() <= prefix.size() || section.compare(0, prefix.size(), prefix) != 0) {
        continue;
      }
      std::string child = section.substr(prefix.size());
      if (child.find('\\') == std::string::npos) names.push_back(child);
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  std::vector<WString> ProgramOptions() const override {
    std::vector<WString> options = {Wide("/I:") + m_file};
    if (!m_layout.empty()) options.push_back(Wide("/S:" + m_layout));
    return options;
  }

  void BindRoots(CSettingsRoot &layoutRoot, CSettingsRoot &globalRoot) const override {
    layoutRoot.Init(Wide(RootSection(StoreRoot::Layout)).c_str(), HKEY_CURRENT_USER);
    layoutRoot.m_iniPath = m_file.c_str();
    globalRoot.Init(Wide(RootSection(StoreRoot::Global)).c_str(), HKEY_CURRENT_USER);
    globalRoot.m_iniPath = m_file.c_str();
  }

  bool MakeUnwritable() override {
    testing_support::MakeReadOnly(m_file);
    return true;
  }

  std::string Snapshot() override { return testing_support::ReadBytes(m_file); }

 private:
  WString m_file;
  std::string m_layout;
};

}  // namespace

DWORD FileManagerStore::Dword(StoreRoot root, const std::string &key, const char *name) {
  DWORD value = 0xDEADBEEF;
  EXPECT_TRUE(GetDword(root, key, name, value)) << key << " " << (name ? name : "@");
  return value;
}

std::string FileManagerStore::String(StoreRoot root, const std::string &key, const char *name) {
  std::string text;
  EXPECT_TRUE(GetString(root, key, name, text)) << key << " " << (name ? name : "@");
  return text;
}

std::unique_ptr<FileManagerStore> MakeRegistryStore(const std::string &base,
                                                    const std::string &layout) {
  return std::unique_ptr<FileManagerStore>(new RegistryStore(base, layout));
}

std::unique_ptr<FileManagerStore> MakeIniStore(const WString &file, const std::string &layout) {
  return std::unique_ptr<FileManagerStore>(new IniStore(file, layout));
}

const char *StoreKindName(StoreKind kind) {
  return kind == StoreKind::Registry ? "Registry" : "Ini";
}
