#ifndef QUENVALE_APP_GRAPHPLACEMENT_H
#define QUENVALE_APP_GRAPHPLACEMENT_H

#include "framework/core/OptionWord.h"
#include "framework/win/WindowPlacement.h"

// Where the graph window keeps its placement: the registry value "Graph"
// under the program's key, never the settings store, and nothing at all in
// portable mode (both calls then refuse). The option word is read at each
// call and must outlive the object.
class C_GraphPlacement : public I_WindowPlacement {
public:
    explicit C_GraphPlacement(const C_OptionWord& optionWordIn) : optionWord(optionWordIn) {}

    bool Restore(HWND hWnd, uint32_t ulFlags) override;
    bool Save(HWND hWnd, uint32_t ulFlags) override;

private:
    const C_OptionWord& optionWord;
};

#endif
