#include "app/run_messages.h"

#include "app/path_probe.h"

const WCHAR kCannotFindIniFile[] = TEXT("cannot find INI file:\n%s");
const WCHAR kCannotLocateToolbars[] = TEXT("cannot locate toolbar settings");
const WCHAR kSettingsInUse[] =
    TEXT("another addbar run is still changing these settings; nothing was changed");
const WCHAR kCannotLockSettings[] =
    TEXT("cannot keep other addbar runs off these settings; nothing was changed");

namespace {
const WCHAR kSuccessFormat[] =
    TEXT("added 'drivebar' with %d buttons\nPlease restart your vantrove");
const WCHAR kUsageFormat[] = TEXT("\n\nUSAGE:\n%s [/S:layout /I:ini_file]\n");
const WCHAR kClosingSentence[] =
    TEXT("without arguments, it adds the lumenrail in default registry layout");
const WCHAR kSuccessCaption[] = TEXT("done");
}  // namespace

CString MakeSuccessText(int buttonCount) {
  CString text;
  text.Format(kSuccessFormat, buttonCount);
  return text;
}

CString MakeUsageText(const CCommandLineArgs &args, CAppInfo &appInfo) {
  CString program = args.m_nArgs >= 1 ? *args.m_ppArgs[0] : appInfo.GetModulePath();
  CString usage;
  usage.Format(kUsageFormat, static_cast<LPCWSTR>(FileNameOf(program)));
  usage += kClosingSentence;
  return usage;
}

int ShowFinalMessage(CString &message, int buttonCount, const CCommandLineArgs &args,
                     CAppInfo &appInfo) {
  if (message.IsEmpty()) {
    message = MakeSuccessText(buttonCount);
    MessageBoxW(nullptr, message, kSuccessCaption, MB_ICONINFORMATION);
  } else {
    message += MakeUsageText(args, appInfo);
    // No caption: the platform's default one.
    MessageBoxW(nullptr, message, nullptr, MB_ICONERROR);
  }
  return message.GetLength();
}
