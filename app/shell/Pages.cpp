#include "app/shell/InfoPage.h"
#include "app/shell/PageShell.h"
#include "app/shell/Quenvale.h"
#include "quick/win/Simple.h"

std::unique_ptr<C_Page> CreatePage(int nIndex, I_Shell& shell)
{
    switch (nIndex) {
    case C_Quenvale::PAGE_FILE:
        return std::make_unique<C_PageShell>(shell, 1005);
    case C_Quenvale::PAGE_BLOCK:
        return std::make_unique<C_PageShell>(shell, 1028);
    case C_Quenvale::PAGE_INFO:
        return std::make_unique<C_InfoPage>(shell, dynamic_cast<I_UpdateCheck*>(&shell));
    default:
        return std::make_unique<C_Simple>(shell);
    }
}
