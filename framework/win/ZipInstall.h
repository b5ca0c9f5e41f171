#ifndef QUENVALE_FRAMEWORK_ZIPINSTALL_H
#define QUENVALE_FRAMEWORK_ZIPINSTALL_H

#include <cstdint>
#include <string>

#include "framework/core/ZipArchive.h"

// Unpacks a zip archive into a folder (the update's install pass).
//
// The archive is checked whole before anything is written: an entry whose
// path is absolute, has a drive letter, a ".." part or anything else that
// ZipEntryRelativePath refuses, or that lies outside the folder once the
// system has resolved it, refuses the archive, and so does a method other
// than Stored and Deflate or a total size above ullMaxTotal. Each file is
// then unpacked beside its target as N_new.E and checked (size, CRC); only
// when every file unpacked are the targets swapped in, the files they
// replace kept as N_old.E. On failure the _new files are removed and the
// folder is as it was, except for swaps already made when a rename fails.
//
// pPassword answers encrypted entries (null: they are refused). False on
// failure with the reason in strError.
// The checks of UnpackZipInto alone: whether the archive would be unpacked.
bool CheckZipInto(const char* pszArchive, const char* pszFolder, std::string& strError,
                  uint64_t ullMaxTotal = 1ull << 30);

bool UnpackZipInto(const char* pszArchive, const char* pszFolder, const ZipPasswordSource* pPassword,
                   std::string& strError, uint64_t ullMaxTotal = 1ull << 30);

#endif
