#ifndef QUENVALE_APP_PAGESHELL_H
#define QUENVALE_APP_PAGESHELL_H

#include "app/win/Shell.h"

// A test page whose own behaviour is not built yet: its template's
// controls, the page background and the shared progress bar.
class C_PageShell : public C_Page {
public:
    C_PageShell(I_Shell& shellIn, int nFirstControlIdIn) : C_Page(shellIn), nFirstControlId(nFirstControlIdIn) {}

    int GetFirstControlId() const override { return nFirstControlId; }
    int _Handle_Init() override;
    INT_PTR _Handle_MESSAGE(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

private:
    int nFirstControlId;
};

#endif
