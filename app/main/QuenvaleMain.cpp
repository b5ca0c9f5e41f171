#include <windows.h>

#include <cstdio>
#include <vector>

#include "framework/win/Dialog.h"
#include "resources/resource.h"

namespace {

// The main window frame: template 101 with the program's title and icon.
class C_MainFrame : public C_Dialog {
public:
    int _Handle_Init() override
    {
        unsigned uMajor = 1, uMinor = 1;
        char szPath[MAX_PATH];
        DWORD dwHandle = 0;
        const DWORD dwLength = ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
        const DWORD dwSize = dwLength > 0 ? ::GetFileVersionInfoSizeA(szPath, &dwHandle) : 0;
        if (dwSize > 0) {
            std::vector<char> data(dwSize);
            char* pText = nullptr;
            UINT uLength = 0;
            if (::GetFileVersionInfoA(szPath, 0, dwSize, data.data()) &&
                ::VerQueryValueA(data.data(), "\\StringFileInfo\\040904B0\\FileVersion",
                                 reinterpret_cast<void**>(&pText), &uLength))
                std::sscanf(pText, "%u.%u", &uMajor, &uMinor);
        }
        char szTitle[64];
        std::snprintf(szTitle, sizeof(szTitle), "%s [%u.%02u]", "Quenvale", uMajor, uMinor);
        ::SetWindowTextA(GetHandle(), szTitle);
        HICON hIcon = ::LoadIconA(GetInstance(), MAKEINTRESOURCEA(IDI_PROGRAM));
        ::SendMessageA(GetHandle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hIcon));
        ::SendMessageA(GetHandle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hIcon));
        return 1;
    }
};

C_MainFrame g_MainFrame;

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    return static_cast<int>(g_MainFrame.DoModal(hInstance, IDD_MAIN, 0, nullptr));
}
