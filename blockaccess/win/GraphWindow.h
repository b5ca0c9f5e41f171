#ifndef QUENVALE_BLOCKACCESS_GRAPHWINDOW_H
#define QUENVALE_BLOCKACCESS_GRAPHWINDOW_H

#include <windows.h>

#include <atomic>
#include <string>

#include "blockaccess/win/Graph.h"
#include "framework/win/Dialog.h"
#include "framework/win/WindowPlacement.h"

// The window of the speed graph (template 123): a resizable top-level
// window without owner, titled "<program title> Graph", that holds the one
// graph control and grows and shrinks it with its client area. Its
// placement is restored when it opens and kept when it closes, through the
// owner's I_WindowPlacement.
//
// Open and the dialog's handlers run on the user-interface thread;
// RequestClose and the graph's Start and AddPoint may come from a worker.
class C_GraphWindow : public C_Dialog {
public:
    // Template and sizes in dialog units.
    static constexpr int kTemplateId = 123;
    static constexpr int kGraphWidth = 311;
    static constexpr int kGraphHeight = 150;
    static constexpr int kMinimumWidth = 300;
    static constexpr int kMinimumHeight = 150;
    static constexpr int kTitleTextId = 83;   // "Graph"

    C_GraphWindow() = default;
    ~C_GraphWindow() override;

    // Creates the window, or brings the existing one to the foreground. The
    // graph is registered with kGraphOptions when nobody registered it yet.
    // strAppTitle: the program's title text. pPlacementIn keeps the
    // placement (null: it is neither restored nor kept, as in portable
    // mode); it must live as long as the window. Returns the window, or null
    // (GetLastError set) when it cannot be created.
    HWND Open(HINSTANCE hInstanceIn, const std::string& strAppTitle, I_WindowPlacement* pPlacementIn);

    // Any thread: closes the window as WM_CLOSE does and returns once it is
    // gone (the user-interface thread must be dispatching messages). Nothing
    // happens when there is no window.
    void RequestClose();

    // The graph the Block Access run starts and feeds.
    C_GRAPH* GetGraph() { return &graph; }

private:
    int _Handle_Init() override;
    bool CanClose(int nCode) override;
    INT_PTR _Handle_MESSAGE(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    int _Handle_DESTROY() override;
    // Keeps the graph's top-left corner and its distance to the right and
    // bottom edges of a client area of nWidth × nHeight.
    void AnchorGraph(int nWidth, int nHeight) const;

    C_GRAPH graph;
    std::string strTitle;
    I_WindowPlacement* pPlacement = nullptr;
    HICON hSmallIcon = nullptr;
    // The window while it exists, for other threads.
    std::atomic<HWND> hOpen{nullptr};
    RECT rcGraph = {0, 0, 0, 0};   // the graph's rectangle when the window was made
    SIZE sizeGap = {0, 0};         // from the graph's right and bottom to the client's
};

#endif
