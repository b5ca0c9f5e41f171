#ifndef QUENVALE_BLOCKACCESS_BLOCKGRAPH_H
#define QUENVALE_BLOCKACCESS_BLOCKGRAPH_H

#include <cstdint>

// The speed graph a linear run with "Show Graph" feeds. The page puts it on
// its graph window (C_GraphWindow); every call comes from the run's thread.
class I_BlockGraph {
public:
    virtual ~I_BlockGraph() = default;

    // A new curve of ulPoints points, every slot empty: the page's graph
    // starts with (ulPoints, 0, 10, 1, "%d MB/s", 60, 1, none, none, 10).
    virtual void Start(uint32_t ulPoints) = 0;
    // The rate of a group, in MByte/s (KiB/s over 1024), at point ulIndex
    // (below the count of the last Start).
    virtual void Add(uint32_t ulIndex, float fMBytesPerSecond) = 0;
    // The run ended with a failed access or made none: the page closes the
    // graph window (WM_CLOSE) and returns once it is gone.
    virtual void CloseAfterFailedRun() = 0;
};

#endif
