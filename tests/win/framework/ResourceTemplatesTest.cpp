#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "resources/resource.h"

namespace {

struct Item {
    uint32_t ulStyle;
    int nId;
    std::string strClass;
    int x, y, cx, cy;
};

struct Template {
    bool bExtended = false;
    uint32_t ulStyle = 0;
    int nItems = 0;
    int cx = 0, cy = 0;
    std::vector<Item> vItems;
};

uint16_t U16(const uint8_t*& p) { uint16_t w; std::memcpy(&w, p, 2); p += 2; return w; }
uint32_t U32(const uint8_t*& p) { uint32_t d; std::memcpy(&d, p, 4); p += 4; return d; }
std::string SzOrOrd(const uint8_t*& p)
{
    if (*reinterpret_cast<const uint16_t*>(p) == 0xFFFF) {
        p += 2;
        switch (U16(p)) {
        case 0x80: return "Button";
        case 0x81: return "Edit";
        case 0x82: return "Static";
        case 0x83: return "ListBox";
        case 0x84: return "ScrollBar";
        case 0x85: return "ComboBox";
        default: return "#";
        }
    }
    std::string s;
    for (uint16_t w; (w = U16(p)) != 0;)
        s.push_back(static_cast<char>(w));
    return s;
}
void Align(const uint8_t*& p, const uint8_t* pBase)
{
    while ((p - pBase) % 4) ++p;
}

Template Load(int nId)
{
    Template t;
    HRSRC h = ::FindResourceA(nullptr, MAKEINTRESOURCEA(nId), MAKEINTRESOURCEA(5));
    if (h == nullptr)
        return t;
    const uint8_t* pBase = static_cast<const uint8_t*>(::LockResource(::LoadResource(nullptr, h)));
    const uint8_t* p = pBase;
    t.bExtended = reinterpret_cast<const uint16_t*>(p)[1] == 0xFFFF;
    if (t.bExtended) { p += 12; t.ulStyle = U32(p); } else { t.ulStyle = U32(p); p += 4; }
    t.nItems = U16(p);
    p += 4;
    t.cx = U16(p);
    t.cy = U16(p);
    SzOrOrd(p); SzOrOrd(p); SzOrOrd(p);
    if (t.ulStyle & DS_SETFONT) {
        U16(p);
        if (t.bExtended) p += 4;
        SzOrOrd(p);
    }
    for (int i = 0; i < t.nItems; ++i) {
        Align(p, pBase);
        Item item;
        if (t.bExtended) { p += 8; item.ulStyle = U32(p); }
        else { item.ulStyle = U32(p); p += 4; }
        item.x = static_cast<int16_t>(U16(p)); item.y = static_cast<int16_t>(U16(p));
        item.cx = U16(p); item.cy = U16(p);
        item.nId = t.bExtended ? static_cast<int>(U32(p)) : U16(p);
        item.strClass = SzOrOrd(p);
        SzOrOrd(p);
        const uint16_t wExtra = U16(p);
        p += wExtra;
        t.vItems.push_back(item);
    }
    return t;
}

const Item* Find(const Template& t, int nId)
{
    for (const Item& i : t.vItems)
        if (i.nId == nId)
            return &i;
    return nullptr;
}

TEST(ResourceTemplates, FormSizeStyleAndControlCount)
{
    struct Want { int nId; bool bExtended; uint32_t ulStyle; int cx, cy, nItems; };
    for (const Want& w : {Want{IDD_MAIN, true, 0x80CA08C0, 690, 261, 6},
                          Want{IDD_FILE_ACCESS, true, 0x40000440, 555, 261, 26},
                          Want{IDD_BLOCK_ACCESS, true, 0x40000440, 555, 261, 31},
                          Want{IDD_GRAPH, false, 0x80CF0840, 311, 150, 0},
                          Want{IDD_QUICK_ACCESS, true, 0x40000440, 555, 261, 22},
                          Want{IDD_INFORMATION, true, 0x40000440, 555, 261, 6}}) {
        SCOPED_TRACE(w.nId);
        Template t = Load(w.nId);
        EXPECT_EQ(t.bExtended, w.bExtended);
        EXPECT_EQ(t.ulStyle, w.ulStyle);
        EXPECT_EQ(t.cx, w.cx);
        EXPECT_EQ(t.cy, w.cy);
        EXPECT_EQ(t.nItems, w.nItems);
        EXPECT_EQ(static_cast<int>(t.vItems.size()), w.nItems);
    }
}

TEST(ResourceTemplates, StylesAreStoredExactly)
{
    // The resource compiler must not add WS_VISIBLE to the hidden progress
    // bars, nor change any other style bit.
    struct Want { int nTemplate, nId; const char* pszClass; uint32_t ulStyle; int x, y, cx, cy; };
    for (const Want& w : {Want{IDD_FILE_ACCESS, 1022, "msctls_progress32", 0x40000000, 5, 246, 544, 6},
                          Want{IDD_BLOCK_ACCESS, 1042, "msctls_progress32", 0x40000000, 5, 246, 543, 6},
                          Want{IDD_QUICK_ACCESS, 1022, "msctls_progress32", 0x40000000, 5, 246, 543, 6},
                          Want{IDD_MAIN, 1092, "Static", 0x50000004, 0, 0, 135, 45},
                          Want{IDD_MAIN, 1118, "Static", 0x50030200, 0, 45, 135, 25},
                          Want{IDD_QUICK_ACCESS, 1084, "SysListView32", 0x50818809, 5, 4, 215, 236},
                          Want{IDD_QUICK_ACCESS, 1123, "ComboBox", 0x50210003, 340, 32, 130, 30},
                          Want{IDD_QUICK_ACCESS, 1092, "Static", 0x50000803, 230, 189, 20, 20},
                          Want{IDD_BLOCK_ACCESS, 1028, "SysListView32", 0x5081801D, 5, 4, 544, 135},
                          Want{IDD_BLOCK_ACCESS, 1029, "Button", 0x50000009, 5, 146, 70, 14},
                          Want{IDD_FILE_ACCESS, 1005, "SysTreeView32", 0x50810033, 5, 4, 270, 130},
                          Want{IDD_INFORMATION, 1098, "Edit", 0x50A10844, 15, 72, 527, 151}}) {
        SCOPED_TRACE(testing::Message() << w.nTemplate << "/" << w.nId);
        Template t = Load(w.nTemplate);
        const Item* pItem = Find(t, w.nId);
        ASSERT_NE(pItem, nullptr);
        EXPECT_EQ(pItem->ulStyle, w.ulStyle);
        EXPECT_EQ(_stricmp(pItem->strClass.c_str(), w.pszClass), 0) << pItem->strClass;
        EXPECT_EQ(pItem->x, w.x);
        EXPECT_EQ(pItem->y, w.y);
        EXPECT_EQ(pItem->cx, w.cx);
        EXPECT_EQ(pItem->cy, w.cy);
    }
}

} // namespace
