#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/core/DialogTemplate.h"

namespace {

// Builds a template in memory the way the resource compiler lays it out.
class TemplateBuilder {
public:
    std::vector<uint8_t> bytes;

    void U16(uint16_t w) { bytes.push_back(w & 0xFF); bytes.push_back(w >> 8); }
    void U32(uint32_t d) { U16(d & 0xFFFF); U16(d >> 16); }
    void Text(const std::u16string& s) { for (char16_t c : s) U16(c); U16(0); }
    void Align4() { while (bytes.size() % 4) bytes.push_back(0); }

    static std::vector<uint8_t> Extended(uint32_t ulStyle, const std::u16string& strFace,
                                         int nControls, bool bPadEnd = true)
    {
        TemplateBuilder b;
        b.U16(1); b.U16(0xFFFF);          // version, signature
        b.U32(0);                          // help id
        b.U32(0);                          // extended style
        b.U32(ulStyle);
        b.U16(static_cast<uint16_t>(nControls));
        b.U16(0); b.U16(0); b.U16(690); b.U16(261);
        b.U16(0);                          // no menu
        b.U16(0);                          // default class
        b.Text(u"Dialog");
        if (ulStyle & 0x40) {
            b.U16(8); b.U16(400); b.bytes.push_back(0); b.bytes.push_back(1);
            b.Text(strFace);
        }
        for (int i = 0; i < nControls; ++i) {
            b.Align4();
            b.U32(0); b.U32(0); b.U32(0x50020200);
            b.U16(static_cast<uint16_t>(10 * i)); b.U16(5); b.U16(40); b.U16(12);
            b.U32(1000 + i);
            b.U16(0xFFFF); b.U16(0x82);    // Static
            b.Text(u"Item");
            b.U16(0);                      // no creation data
        }
        if (bPadEnd)
            b.Align4();
        return b.bytes;
    }

    static std::vector<uint8_t> Plain(uint32_t ulStyle, const std::u16string& strFace)
    {
        TemplateBuilder b;
        b.U32(ulStyle);
        b.U32(0);
        b.U16(0);
        b.U16(0); b.U16(0); b.U16(311); b.U16(150);
        b.U16(0xFFFF); b.U16(131);         // menu by ordinal
        b.Text(u"MyClass");
        b.Text(u"Graph");
        b.U16(8);
        b.Text(strFace);
        return b.bytes;
    }
};

// The items after the font block, as seen from the first aligned position.
std::vector<uint8_t> ItemsOf(const std::vector<uint8_t>& t, const S_TemplateFont& f)
{
    size_t nStart = (f.nFaceEnd + 3) & ~size_t(3);
    if (nStart >= t.size())
        return {};
    return std::vector<uint8_t>(t.begin() + nStart, t.end());
}

TEST(DialogTemplate, ReadsExtendedAndPlainHeaders)
{
    auto ext = TemplateBuilder::Extended(0x80CA08C0, u"MS Sans Serif", 3);
    S_TemplateFont font;
    ASSERT_TRUE(ReadTemplateFont(ext.data(), ext.size(), font));
    EXPECT_TRUE(font.bExtended);
    EXPECT_EQ(font.ulStyle, 0x80CA08C0u);
    EXPECT_TRUE(font.strFace == u"MS Sans Serif");
    EXPECT_TRUE(IsReplaceableDialogFace(font.strFace));

    auto plain = TemplateBuilder::Plain(0x80CF0840, u"MS Shell Dlg");
    ASSERT_TRUE(ReadTemplateFont(plain.data(), plain.size(), font));
    EXPECT_FALSE(font.bExtended);
    EXPECT_TRUE(font.strFace == u"MS Shell Dlg");
    EXPECT_EQ(font.nPointSizeOffset + 2, font.nFaceOffset);

    auto tahoma = TemplateBuilder::Extended(0x40000440, u"Tahoma", 1);
    ASSERT_TRUE(ReadTemplateFont(tahoma.data(), tahoma.size(), font));
    EXPECT_FALSE(IsReplaceableDialogFace(font.strFace));
    EXPECT_FALSE(IsReplaceableDialogFace(u"MS Shell Dlg 2"));
}

TEST(DialogTemplate, RefusesTemplatesWithoutFontOrCutShort)
{
    S_TemplateFont font;
    auto noFont = TemplateBuilder::Extended(0x40000400, u"", 1);
    EXPECT_FALSE(ReadTemplateFont(noFont.data(), noFont.size(), font));
    auto full = TemplateBuilder::Extended(0x40000440, u"MS Sans Serif", 0, false);
    // Every prefix shorter than the font block is refused, never read past.
    for (size_t n = 0; n < full.size(); ++n) {
        std::vector<uint8_t> cut(full.begin(), full.begin() + n);
        EXPECT_FALSE(ReadTemplateFont(cut.data(), cut.size(), font)) << n;
    }
    EXPECT_TRUE(ReadTemplateFont(full.data(), full.size(), font));
    EXPECT_FALSE(ReadTemplateFont(nullptr, 100, font));
}

TEST(DialogTemplate, RewriteKeepsItemsAlignedForLongerAndShorterFaces)
{
    for (const std::u16string& strNew : {std::u16string(u"Segoe UI"), std::u16string(u"MS Shell Dlg 2"),
                                         std::u16string(u"A"), std::u16string(u"Some Very Long Face Name")}) {
        SCOPED_TRACE(std::string(strNew.begin(), strNew.end()));
        auto t = TemplateBuilder::Extended(0x80CA08C0, u"MS Sans Serif", 4);
        S_TemplateFont font;
        ASSERT_TRUE(ReadTemplateFont(t.data(), t.size(), font));
        auto copy = RewriteTemplateFont(t.data(), t.size(), font, strNew, 9);
        ASSERT_FALSE(copy.empty());
        S_TemplateFont after;
        ASSERT_TRUE(ReadTemplateFont(copy.data(), copy.size(), after));
        EXPECT_TRUE(after.strFace == strNew);
        EXPECT_EQ(copy[after.nPointSizeOffset], 9);
        // Weight, italic and character set are kept.
        EXPECT_EQ(copy[after.nPointSizeOffset + 2], 400 & 0xFF);
        EXPECT_EQ(copy[after.nPointSizeOffset + 5], 1);
        auto itemsBefore = ItemsOf(t, font);
        auto itemsAfter = ItemsOf(copy, after);
        ASSERT_GE(itemsAfter.size(), itemsBefore.size());
        EXPECT_TRUE(std::equal(itemsBefore.begin(), itemsBefore.end(), itemsAfter.begin()));
    }
}

TEST(DialogTemplate, RewriteOfTemplateEndingAtTheFaceName)
{
    // A template without controls may end right after the face name; the
    // aligned start of the (empty) rest then lies past its end.
    for (const std::u16string& strOld : {std::u16string(u"MS Sans Serif"), std::u16string(u"System")}) {
        auto t = TemplateBuilder::Extended(0x80CF0840, strOld, 0, false);
        S_TemplateFont font;
        ASSERT_TRUE(ReadTemplateFont(t.data(), t.size(), font));
        ASSERT_EQ(font.nFaceEnd, t.size());
        auto copy = RewriteTemplateFont(t.data(), t.size(), font, u"Segoe UI", 9);
        S_TemplateFont after;
        ASSERT_TRUE(ReadTemplateFont(copy.data(), copy.size(), after));
        EXPECT_TRUE(after.strFace == u"Segoe UI");
    }
}

TEST(DialogTemplate, ChoosesTheMessageFontOrAFallback)
{
    auto installed = [](std::initializer_list<const char*> faces) {
        std::vector<std::string> list(faces.begin(), faces.end());
        return [list](const std::string& f) {
            return std::find(list.begin(), list.end(), f) != list.end();
        };
    };
    // Segoe UI with a 12-pixel font on a 96-DPI screen: 9 points.
    S_DialogFontChoice c = ChooseDialogFont("Segoe UI", -12, 96, false, installed({"Segoe UI", "MS Shell Dlg 2"}));
    EXPECT_TRUE(c.bChange);
    EXPECT_EQ(c.strFace, "Segoe UI");
    EXPECT_EQ(c.nPointSize, 9);
    // The same at 144 DPI (18 pixels) stays 9 points.
    c = ChooseDialogFont("Segoe UI", -18, 144, false, installed({"Segoe UI"}));
    EXPECT_EQ(c.nPointSize, 9);
    // The classic choice prefers MS Shell Dlg 2 at 8 points over Segoe UI.
    c = ChooseDialogFont("Segoe UI", -12, 96, true, installed({"Segoe UI", "MS Shell Dlg 2"}));
    EXPECT_EQ(c.strFace, "MS Shell Dlg 2");
    EXPECT_EQ(c.nPointSize, 8);
    // ... but only when MS Shell Dlg 2 exists, and only for Segoe UI.
    c = ChooseDialogFont("Segoe UI", -12, 96, true, installed({"Segoe UI"}));
    EXPECT_EQ(c.strFace, "Segoe UI");
    c = ChooseDialogFont("Tahoma", -11, 96, true, installed({"Tahoma", "MS Shell Dlg 2"}));
    EXPECT_EQ(c.strFace, "Tahoma");
    EXPECT_EQ(c.nPointSize, 8);
    // A message font that is not installed falls back at 8 points.
    c = ChooseDialogFont("Tahoma", -11, 96, false, installed({"MS Shell Dlg 2"}));
    EXPECT_EQ(c.strFace, "MS Shell Dlg 2");
    EXPECT_EQ(c.nPointSize, 8);
    c = ChooseDialogFont("Tahoma", -11, 96, false, installed({}));
    EXPECT_EQ(c.strFace, "MS Shell Dlg");
    // Any other message font leaves the template alone.
    EXPECT_FALSE(ChooseDialogFont("Arial", -12, 96, false, installed({"Arial"})).bChange);
    EXPECT_FALSE(ChooseDialogFont("", -12, 96, false, installed({})).bChange);
    // A positive (cell) height never gives a negative point size.
    c = ChooseDialogFont("Segoe UI", 12, 96, false, installed({"Segoe UI"}));
    EXPECT_EQ(c.nPointSize, 9);
}

} // namespace
