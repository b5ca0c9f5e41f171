#include <windows.h>

#include "app/shell/Quenvale.h"
#include "resources/resource.h"

namespace {

// The one application object, built before the entry point runs.
C_Quenvale g_Quenvale;

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    return static_cast<int>(g_Quenvale.DoModal(hInstance, IDD_MAIN, 0, nullptr));
}
