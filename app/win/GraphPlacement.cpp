#include "app/win/GraphPlacement.h"

#include "app/win/ProgramSettings.h"

bool C_GraphPlacement::Restore(HWND hWnd, uint32_t ulFlags)
{
    return RestoreGraphPlacement(hWnd, optionWord.Get(), ulFlags);
}

bool C_GraphPlacement::Save(HWND hWnd, uint32_t ulFlags)
{
    return SaveGraphPlacement(hWnd, optionWord.Get(), ulFlags);
}
