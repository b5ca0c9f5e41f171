#include "framework/core/DialogTemplateWriter.h"

#include "framework/core/DialogTemplate.h"

namespace {

void Put16(std::vector<uint8_t>& v, uint16_t w)
{
    v.push_back(static_cast<uint8_t>(w & 0xFF));
    v.push_back(static_cast<uint8_t>(w >> 8));
}

void Put32(std::vector<uint8_t>& v, uint32_t ul)
{
    Put16(v, static_cast<uint16_t>(ul & 0xFFFF));
    Put16(v, static_cast<uint16_t>(ul >> 16));
}

void PutText(std::vector<uint8_t>& v, const std::u16string& str)
{
    for (char16_t c : str)
        Put16(v, static_cast<uint16_t>(c));
    Put16(v, 0);
}

void Align4(std::vector<uint8_t>& v)
{
    while (v.size() % 4 != 0)
        v.push_back(0);
}

} // namespace

std::vector<uint8_t> WriteDialogTemplate(const S_TemplateDialog& d)
{
    if (d.vItems.size() > 0xFFFF)
        return {};
    std::vector<uint8_t> v;
    Put32(v, d.ulStyle | kDialogStyleSetFont);
    Put32(v, d.ulExStyle);
    Put16(v, static_cast<uint16_t>(d.vItems.size()));
    Put16(v, static_cast<uint16_t>(d.x));
    Put16(v, static_cast<uint16_t>(d.y));
    Put16(v, static_cast<uint16_t>(d.cx));
    Put16(v, static_cast<uint16_t>(d.cy));
    Put16(v, 0);                     // no menu
    Put16(v, 0);                     // the dialog class
    PutText(v, d.strTitle);
    Put16(v, d.wPointSize);
    PutText(v, d.strFace);
    for (const S_TemplateItem& item : d.vItems) {
        Align4(v);
        Put32(v, item.ulStyle);
        Put32(v, item.ulExStyle);
        Put16(v, static_cast<uint16_t>(item.x));
        Put16(v, static_cast<uint16_t>(item.y));
        Put16(v, static_cast<uint16_t>(item.cx));
        Put16(v, static_cast<uint16_t>(item.cy));
        Put16(v, item.wId);
        Put16(v, 0xFFFF);
        Put16(v, item.wClass);
        PutText(v, item.strText);
        Put16(v, 0);                 // no creation data
    }
    return v;
}
