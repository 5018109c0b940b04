#include "replay.h"

namespace replay {

const WCHAR kReplayKeyPath[] = TEXT("Software\\addbar-diff");

Replay::Replay(DumpRecorder &dump, const WString &folder, const WString &baseKey,
               const std::string &scenario)
    : m_dump(dump), m_folder(folder), m_baseKey(baseKey), m_scenario(scenario) {
  m_dump.BeginScenario(scenario);
}

Replay::~Replay() {
  if (m_key != nullptr) RegCloseKey(m_key);
  // The shared Wine prefix keeps nothing of a run.
  if (m_keyTried) RegDeleteTreeW(HKEY_CURRENT_USER, KeyPath().c_str());
}

WString Replay::File(const char *suffix) const {
  return m_folder + TEXT("\\") + Widen(m_scenario) + Widen(suffix) + TEXT(".ini");
}

WString Replay::KeyPath() const { return m_baseKey + TEXT("\\") + Widen(m_scenario); }

HKEY Replay::Key() {
  if (m_keyTried) return m_key;
  m_keyTried = true;
  const WString path = KeyPath();
  LONG cleared = RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
  if (cleared != ERROR_SUCCESS && cleared != ERROR_FILE_NOT_FOUND) {
    Record("setup", "clearing the key failed: " + SignedNumber(cleared));
  }
  LONG status = RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &m_key, nullptr);
  if (status != ERROR_SUCCESS) {
    m_key = nullptr;
    Record("setup", "creating the key failed: " + SignedNumber(status));
  }
  return m_key;
}

void Replay::Log(const std::string &what, const std::string &result) {
  m_dump.Add("call " + m_dump.NextCallNumber() + " " + what, result);
}

std::string NameText(LPCWSTR name) {
  if (name == nullptr) return "null";
  return Quoted(WString(name));
}

WString Widen(const std::string &ascii) {
  WString wide;
  for (char c : ascii) wide += static_cast<WCHAR>(static_cast<unsigned char>(c));
  return wide;
}

}  // namespace replay
