// Starting the CAD program on Windows: the shell's "Open" verb, then the
// key-in typed into the active window.
#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>
// The port's method names are also Windows macros.
#undef CopyFile
#undef DeleteFile

#include "platform/files/WindowsPaths.h"
#include "platform/os/SystemShell.h"

namespace earthwork::os {

namespace {

void TypeKey(WORD virtualKey, wchar_t unicode) {
  INPUT keys[2] = {};
  for (INPUT& key : keys) {
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = virtualKey;
    key.ki.wScan = unicode;
    key.ki.dwFlags = unicode != 0 ? KEYEVENTF_UNICODE : 0;
  }
  keys[1].ki.dwFlags |= KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
}

}  // namespace

SystemShell::~SystemShell() = default;

void SystemShell::ReapChildren() {}

std::string SystemShell::Start(const std::string& program,
                               const std::vector<std::string>& arguments,
                               const std::string& workingDirectory) {
  std::string parameters;
  for (const std::string& a : arguments) parameters += (parameters.empty() ? "" : " ") + a;
  const HINSTANCE result = ShellExecuteW(GetDesktopWindow(), L"open", WidePath(program).c_str(),
                                         WidePath(parameters).c_str(),
                                         WidePath(workingDirectory).c_str(), SW_SHOWNORMAL);
  if (reinterpret_cast<INT_PTR>(result) <= 32) {
    return "Cannot start " + program + " (shell error " +
           std::to_string(reinterpret_cast<INT_PTR>(result)) + ")";
  }
  return {};
}

std::string SystemShell::SendKeys(const std::string& keys) {
  // Typed as characters, so that a name outside the keyboard's layout arrives whole.
  for (const wchar_t c : WidePath(keys)) TypeKey(0, c);
  TypeKey(VK_RETURN, 0);
  if (letEventsRun_) letEventsRun_();  // until the Enter keystroke is processed
  return {};
}

void SystemShell::Sleep(int milliseconds) {
  if (letEventsRun_) letEventsRun_();
  ::Sleep(static_cast<DWORD>(milliseconds));
}

}  // namespace earthwork::os
