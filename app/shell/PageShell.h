#ifndef QUENVALE_APP_PAGESHELL_H
#define QUENVALE_APP_PAGESHELL_H

#include "framework/win/Page.h"

// A test page whose own behaviour is not built yet: its template's
// controls, the page background and the shared progress bar.
class C_PageShell : public C_Page {
public:
    C_PageShell(I_PageHost& hostIn, int nFirstControlIdIn) : C_Page(hostIn), nFirstControlId(nFirstControlIdIn) {}

    int GetFirstControlId() const override { return nFirstControlId; }
    int _Handle_Init() override;
    INT_PTR _Handle_MESSAGE(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

private:
    int nFirstControlId;
};

#endif
