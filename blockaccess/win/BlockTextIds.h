#ifndef QUENVALE_BLOCKACCESS_BLOCKTEXTIDS_H
#define QUENVALE_BLOCKACCESS_BLOCKTEXTIDS_H

// String-table entries of a Block Access run, with the inserts each takes.
enum : int {
    BLOCK_TEXT_NO_WRITE = 49,         // device info: the device cannot be written
    BLOCK_TEXT_NO_READ = 50,          // device info: the device cannot be read
    BLOCK_TEXT_CONFIRM_WRITE = 51,    // device info (question, No by default)
    BLOCK_TEXT_CANT_CREATE_DATA = 52, // data file path
    BLOCK_TEXT_CANT_OPEN_DATA = 53,   // data file path
    BLOCK_TEXT_CANT_READ_DATA = 54,   // data file path
    // blocks per access (64-bit), address (64-bit, hexadecimal), error,
    // error text, hint (BLOCK_TEXT_HINT_87 or empty)
    BLOCK_TEXT_CANT_ACCESS = 55,
    BLOCK_TEXT_HINT_87 = 56,
    BLOCK_TEXT_TOO_FAST = 57,         // "[Too Fast]"
    BLOCK_TEXT_SELECT_DRIVE = 58,     // the page's own message
};

#endif
