#ifndef QUENVALE_FILEACCESS_FILETEXTIDS_H
#define QUENVALE_FILEACCESS_FILETEXTIDS_H

// String-table entries of the File Access passes and searches, with the
// inserts each takes.
enum : int {
    FILE_TEXT_TOO_FAST = 57,              // "[Too Fast]"
    FILE_TEXT_BASE_PATH = 60,             // no inserts
    FILE_TEXT_MISSING_FILE = 61,          // path: the open-file dialog's title
    FILE_TEXT_ALL_FILES = 62,             // the dialogs' filter, "All Files|*.*||"
    FILE_TEXT_UNDERLINE = 63,             // file name (question)
    FILE_TEXT_NO_SIZE = 64,
    FILE_TEXT_NO_FREE_SPACE = 65,         // question
    FILE_TEXT_LOW_FREE_SPACE = 66,        // free MBytes, file MBytes (64-bit; question)
    FILE_TEXT_SECTOR_ROUNDING = 67,       // block size, sector size, proposal (question)
    FILE_TEXT_CANT_OPEN = 68,             // path, error, error text
    FILE_TEXT_SMALL_FILE = 69,            // size text (question)
    FILE_TEXT_CANT_SEEK_END = 70,         // file MBytes (64-bit)
    FILE_TEXT_CANT_SET_END = 71,          // file MBytes (64-bit)
    FILE_TEXT_CANT_SEEK_START = 72,
    FILE_TEXT_TOO_SMALL = 73,
    FILE_TEXT_READ_DATA_TITLE = 74,       // the save dialog's title
    FILE_TEXT_CANT_OPEN_READ_DATA = 75,   // path, error, error text
    FILE_TEXT_CANT_WRITE = 76,            // path, error, error text, block size, position, file size
    FILE_TEXT_CANT_READ = 77,             // the same inserts
    FILE_TEXT_CANT_FLUSH = 78,
    FILE_TEXT_FASTEST_NOT_NT = 79,
    FILE_TEXT_FASTEST_CANT_OPEN = 80,     // device path
    FILE_TEXT_FASTEST_NOT_CDROM = 81,     // drive letter (character)
    FILE_TEXT_FASTEST_NOT_FOUND = 82,     // size text, drive letter (character)
};

// The proposed name of the read-data copy.
constexpr const char* kReadDataFileName = "_Read_Data.bin";
// The name a write pass gives its file in a folder.
constexpr const char* kDefaultTestFileName = "_TestFile";

#endif
