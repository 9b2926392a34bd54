// YebService: the stand-in of the service's servers on loopback.
//
//   YebService.exe --data <folder> [--ports-file <file>] [--client-ini <file>]...
//                  [--port <name>=<number>]...
//
// Every module's listener binds 127.0.0.1 on the port given for its name (0 or
// none: any free port). Once all are bound, the client's "Service.ini" is
// written into the data folder (and to every --client-ini file), then the
// ports file ("[ports]" name=number lines, "[service]" pid=). The service runs
// until its quit event "YebService-Quit-<pid>" is set or Ctrl+C.
#include "AutoUpdateModule.h"
#include "DataPostsModule.h"
#include "ImageServerModule.h"
#include "MessagingModule.h"
#include "ServiceHost.h"
#include "TestRoutesModule.h"
#include "SongFilesModule.h"
#include "TextUtil.h"
#include "WebSiteModule.h"
#include <winsock2.h>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

// The servers this program plays; a new server is one more module here.
static std::vector<std::unique_ptr<ServiceModule>> MakeModules()
{
    std::vector<std::unique_ptr<ServiceModule>> modules;
    modules.emplace_back(new WebSiteModule);
    modules.emplace_back(new DataPostsModule);
    modules.emplace_back(new ImageServerModule);
    modules.emplace_back(new TestRoutesModule);
    modules.emplace_back(new MessagingModule);
    modules.emplace_back(new AutoUpdateModule);
    modules.emplace_back(new SongFilesModule);
    return modules;
}

static HANDLE g_quit = nullptr;

static BOOL WINAPI OnConsoleControl(DWORD)
{
    if (g_quit)
        SetEvent(g_quit);
    return TRUE;
}

static int Usage(const char* problem)
{
    std::fprintf(stderr, "YebService: %s\nusage: YebService.exe --data <folder> [--ports-file <file>] "
                         "[--client-ini <file>]... [--port <name>=<number>]...\n", problem);
    return 2;
}

int wmain(int argc, wchar_t** argv)
{
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);

    ServiceHost host;
    std::wstring dataFolder, portsFile;
    std::vector<std::wstring> clientInis;
    for (int i = 1; i < argc; ++i)
    {
        std::wstring arg = argv[i];
        if (i + 1 >= argc)
            return Usage("missing value after an option");
        std::wstring value = argv[++i];
        if (arg == L"--data")
            dataFolder = value;
        else if (arg == L"--ports-file")
            portsFile = value;
        else if (arg == L"--client-ini")
            clientInis.push_back(value);
        else if (arg == L"--port")
        {
            size_t eq = value.find(L'=');
            if (eq == std::wstring::npos)
                return Usage("--port needs <name>=<number>");
            host.SetRequestedPort(text::Narrow(value.substr(0, eq)), _wtoi(value.c_str() + eq + 1));
        }
        else
            return Usage("unknown option");
    }
    if (dataFolder.empty())
        return Usage("--data is required");
    if (!host.Data().Open(dataFolder))
        return Usage("cannot create the data folder");
    clientInis.insert(clientInis.begin(), host.Data().PathOf("Service.ini"));

    auto modules = MakeModules();
    for (auto& module : modules)
        module->Register(host);
    std::string error;
    if (!host.Bind(error))
        return Usage(error.c_str());
    for (auto& module : modules)
        module->Started(host);
    host.StartAccepting();
    if (!host.WriteFiles(clientInis, portsFile))
        return Usage("cannot write the ports file or the client settings");

    wchar_t name[64];
    wsprintfW(name, L"YebService-Quit-%lu", GetCurrentProcessId());
    g_quit = OpenEventW(EVENT_MODIFY_STATE, FALSE, name);
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    std::printf("YebService: web %d, image %d\n", host.Port("web"), host.Port("image"));
    std::fflush(stdout);
    host.WaitForQuit();
    WSACleanup();
    return 0;
}
