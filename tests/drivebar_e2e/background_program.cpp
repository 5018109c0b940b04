#include "drivebar_e2e/background_program.h"

#include <chrono>
#include <thread>

std::string BackgroundProgram::Output() const { return testing_support::ReadBytes(m_outputFile); }

bool BackgroundProgram::WaitForOutput(const std::string &text, DWORD timeoutMs) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (Output().find(text) != std::string::npos) return true;
    DWORD exitCode = 0;
    if (WaitForExit(0, exitCode)) return Output().find(text) != std::string::npos;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}
