#include "app/service_host_win.h"

#include <windows.h>

#include "app/application_title.h"
#include "app/update_dialog.h"
#include "i18n/translation.h"
#include "service/client_identity.h"
#include "sys/file_version.h"
#include "sys/registry_keys.h"
#include "sys/shell_open.h"

namespace tavrin {

ServiceHost SystemServiceHost(std::shared_ptr<InterfaceThread> interfaceThread, HWND promptOwner) {
  ServiceHost host;
  host.http = std::shared_ptr<HttpClient>(std::shared_ptr<void>(), &SystemHttp());
  host.appVersion = [] { return GetAppVersion(L"%d.%d.%d.%d"); };
  host.clientId = [] { return GetClientID(SystemRegistry(), SystemIdentitySources()); };
  host.language = CurrentLanguage;
  host.debug = false;  // no build of the program reports leaked memory
  host.terminating = [] { return ApplicationTerminating.load(); };
  host.sleep = [](std::chrono::milliseconds step) { Sleep(static_cast<DWORD>(step.count())); };
  host.interfaceThread = std::move(interfaceThread);
  host.shellOpen = ShellOpen;
  // The hold request needs nothing of the prompt: a copy without it.
  host.updateDialog = [hold = host, promptOwner](const std::wstring& reply) {
    return UpdateDialog(reply,
                        {hold.language, Translate(ApplicationTitle), HeightAdjust, hold.shellOpen,
                         [&hold] { StartSendHold(hold, CheckInURL); }, promptOwner});
  };
  return host;
}

}  // namespace tavrin
