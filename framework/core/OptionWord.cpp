#include "framework/core/OptionWord.h"

uint32_t C_OptionWord::Change(uint32_t ulClearBits, uint32_t ulSetBits)
{
    uint32_t ulOld = ulWord.load();
    while (!ulWord.compare_exchange_weak(ulOld, (ulOld & ~ulClearBits) | ulSetBits)) {
    }
    return ulOld;
}
