#ifndef QUENVALE_QUICK_QUICKTEXTIDS_H
#define QUENVALE_QUICK_QUICKTEXTIDS_H

// String-table entries that the Quick Access passes and their results use.
enum : int {
    TEXT_TOO_FAST = 57,            // "[Too Fast]"
    TEXT_CANT_OPEN = 68,           // path, error, error text
    TEXT_CANT_SEEK_END = 70,       // file size in MBytes (64-bit)
    TEXT_CANT_SET_END = 71,        // file size in MBytes (64-bit)
    TEXT_CANT_SEEK_START = 72,
    TEXT_CANT_WRITE = 76,          // path, error, error text, block size, position, file size
    TEXT_CANT_READ = 77,           // the same inserts
    TEXT_CANT_FLUSH = 78,
    TEXT_SLOW_USB2 = 85,
    TEXT_USB3_ON_USB2 = 86,
    TEXT_SLOW_USB3 = 87,
    TEXT_USB3_IN_USB2_SPEED = 88,
    TEXT_NOT_TESTED = 89,
    TEXT_SEQ_WRITE_LABEL = 36,     // "Seq. Write Speed"
    TEXT_RANDOM_LABEL = 37,        // "Random QD32"
    TEXT_SEQ_READ_LABEL = 38,      // "Seq. Read Speed"
};

#endif
