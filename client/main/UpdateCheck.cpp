#include "UpdateCheck.h"

#include "UpdateList.h"

#include <shellapi.h>

CString BuildUpdaterArguments(LPCWSTR programPath, LPCWSTR userName, LPCWSTR storedPassword)
{
    CString user(userName ? userName : L"");
    user.MakeLower();
    CString password(storedPassword ? storedPassword : L"");
    if (password.GetLength() > 6)
        password = password.Left(password.GetLength() - 3);
    CString arguments;
    arguments.Format(L"%s%s%s%s%s", programPath ? programPath : L"", L"?.?", (LPCWSTR)user, L"?.?",
                     (LPCWSTR)password);
    return arguments;
}

HRESULT CheckForUpdate(const UpdateCheckRequest& request)
{
    CUpdateList list;
    list.SetProgramPath(request.programPath);
    for (auto& location : request.locations)
        list.AddLocation(location.first, location.second);

    HRESULT result = list.Check();
    if (result < 0)
        return result;

    int forced = 0, optional = 0;
    list.CountUpdates(forced, optional);
    CString program = list.GetProgramPath();
    if ((forced > 0 || optional > 0) && !program.IsEmpty())
    {
        CString parameters = BuildUpdaterArguments(program, request.userName, request.storedPassword);
        int slash = program.ReverseFind(L'\\');
        if (slash < 0)
            return 0;
        CString updater = program.Left(slash + 1) + L"AutoUpdate\\Yeb360Update.exe";
        ::ShellExecuteW(nullptr, L"open", updater, parameters, nullptr, SW_SHOWNORMAL);
        if (request.mainWindow)
            ::SendMessageW(request.mainWindow, WM_UPDATE_QUIT, 0, 0);
        return UPDATE_S_UPDATER_STARTED;
    }
    return 0;
}
