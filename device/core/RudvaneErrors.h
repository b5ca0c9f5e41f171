#ifndef QUENVALE_DEVICE_RUDVANEERRORS_H
#define QUENVALE_DEVICE_RUDVANEERRORS_H

#include <cstdint>

// The text of one of the layer's own errors (RUDVANE_ERROR_ in
// device/core/RudvaneTypes.h), on one line, or null for any other number.
// The Win32 side hands it to GetErrorText, so a page or the console shows it
// where it shows a system error's text.
const char* RudvaneErrorText(uint32_t ulError);

#endif
