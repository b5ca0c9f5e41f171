#include "app/shell/InfoPage.h"
#include "app/shell/PageShell.h"
#include "app/shell/Quenvale.h"
#include "quick/win/Simple.h"

std::unique_ptr<C_Page> CreatePage(int nIndex, C_Quenvale& app)
{
    switch (nIndex) {
    case C_Quenvale::PAGE_FILE:
        return std::make_unique<C_PageShell>(app, 1005);
    case C_Quenvale::PAGE_BLOCK:
        return std::make_unique<C_PageShell>(app, 1028);
    case C_Quenvale::PAGE_INFO:
        return std::make_unique<C_InfoPage>(app, dynamic_cast<I_UpdateCheck*>(&app));
    default:
        return std::make_unique<C_Simple>(app, app.GetQuickAccessValues());
    }
}
