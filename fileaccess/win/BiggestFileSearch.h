#ifndef QUENVALE_FILEACCESS_BIGGESTFILESEARCH_H
#define QUENVALE_FILEACCESS_BIGGESTFILESEARCH_H

#include <cstdint>
#include <functional>
#include <string>

// The biggest-file search's walk through a folder and its subfolders with
// the file system. A file strictly larger than ullBest replaces the best
// (so the first file of the largest size wins), and onBetter runs at once
// with the new best. isStopRequested is asked before each entry and ends
// the walk when it says so. Folders that are reparse points (junctions,
// mounted volumes, links) are not entered, so a link back into the tree
// cannot make the walk go round.
//
// strFolder ends in '\'.
void FindBiggestFile(const std::string& strFolder, uint64_t& ullBest, std::string& strBest,
                     const std::function<bool()>& isStopRequested, const std::function<void()>& onBetter);

#endif
