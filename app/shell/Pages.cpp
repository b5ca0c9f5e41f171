#include "app/shell/InfoPage.h"
#include "app/win/DeviceWriteConfirmations.h"
#include "app/win/GraphPlacement.h"
#include "blockaccess/win/BlockAccess.h"
#include "app/shell/Quenvale.h"
#include "fileaccess/win/FileAccess.h"
#include "quick/win/Simple.h"

std::unique_ptr<C_Page> CreatePage(int nIndex, C_Quenvale& app)
{
    switch (nIndex) {
    case C_Quenvale::PAGE_FILE:
        return std::make_unique<C_FileAccess>(app, app.GetFileAccessValues());
    case C_Quenvale::PAGE_BLOCK:
        // Write confirmations in the settings store; the graph's placement
        // in the registry outside portable mode.
        return std::make_unique<C_BlockAccess>(app,
                                               std::make_unique<C_DeviceWriteConfirmations>(app.GetProgramSettings(), true),
                                               std::make_unique<C_GraphPlacement>(app.GetOptionWord()));
    case C_Quenvale::PAGE_INFO:
        return std::make_unique<C_InfoPage>(app, dynamic_cast<I_UpdateCheck*>(&app));
    default:
        return std::make_unique<C_Simple>(app, app.GetQuickAccessValues());
    }
}
