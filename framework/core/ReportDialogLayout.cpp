#include "framework/core/ReportDialogLayout.h"

namespace {

// Window and control styles (winuser.h).
constexpr uint32_t WS_POPUP = 0x80000000, WS_CHILD = 0x40000000, WS_VISIBLE = 0x10000000, WS_CLIPSIBLINGS = 0x04000000,
                   WS_CAPTION = 0x00C00000, WS_BORDER = 0x00800000, WS_SYSMENU = 0x00080000,
                   WS_GROUP = 0x00020000, WS_TABSTOP = 0x00010000;
constexpr uint32_t DS_MODALFRAME = 0x80, DS_SETFOREGROUND = 0x200, DS_CENTER = 0x800;
constexpr uint32_t SS_ICON = 0x3, SS_WHITERECT = 0x6, SS_ETCHEDHORZ = 0x10, SS_NOPREFIX = 0x80,
                   SS_CENTERIMAGE = 0x200;
constexpr uint32_t ES_AUTOHSCROLL = 0x80;
constexpr uint32_t BS_DEFPUSHBUTTON = 0x1;

constexpr uint32_t kChild = WS_CHILD | WS_VISIBLE;

S_TemplateItem Item(int nId, uint16_t wClass, uint32_t ulStyle, int x, int y, int cx, int cy,
                    const char16_t* pszText = u"")
{
    S_TemplateItem item;
    item.wId = static_cast<uint16_t>(nId);
    item.wClass = wClass;
    item.ulStyle = kChild | ulStyle;
    item.x = static_cast<int16_t>(x);
    item.y = static_cast<int16_t>(y);
    item.cx = static_cast<int16_t>(cx);
    item.cy = static_cast<int16_t>(cy);
    item.strText = pszText;
    return item;
}

} // namespace

S_TemplateDialog ReportDialogTemplate()
{
    S_TemplateDialog d;
    d.ulStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFOREGROUND;
    d.cx = 428;
    d.cy = 201;
    d.wPointSize = 8;
    d.strFace = u"MS Sans Serif";
    const uint16_t S = TEMPLATE_CLASS_STATIC, E = TEMPLATE_CLASS_EDIT, B = TEMPLATE_CLASS_BUTTON;
    d.vItems = {
        // Under every other control (the dialog moves it to the bottom) and
        // clipped by them, so it never paints over one.
        Item(-1, S, SS_WHITERECT | WS_CLIPSIBLINGS, 0, 0, 429, 167),
        Item(REPORT_ID_ICON, S, SS_ICON, 10, 10, 20, 20),
        Item(REPORT_ID_TITLE, S, SS_CENTERIMAGE | SS_NOPREFIX, 40, 12, 370, 14),
        Item(REPORT_ID_INVITE, S, SS_NOPREFIX, 40, 35, 370, 26),
        Item(REPORT_ID_ASK_DESCRIPTION, S, SS_NOPREFIX, 40, 74, 370, 8,
             u"Can you please describe what you were doing when the problem occurred?"),
        Item(REPORT_ID_DESCRIPTION, E, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP, 40, 86, 370, 14),
        Item(REPORT_ID_ASK_EMAIL, S, SS_NOPREFIX, 40, 107, 370, 8,
             u"Your E-mail address. It will be kept private. Only used to contact you for more details."),
        Item(REPORT_ID_EMAIL, E, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 40, 119, 370, 14),
        Item(REPORT_ID_FILES, S, SS_NOPREFIX, 40, 144, 370, 18),
        Item(REPORT_ID_SEPARATOR, S, SS_ETCHEDHORZ, 0, 166, 429, 1),
        Item(REPORT_ID_SEND, B, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 241, 177, 100, 14,
             u"Send Problem Report"),
        Item(REPORT_ID_DONT_SEND, B, WS_TABSTOP, 351, 177, 60, 14, u"Don't Send"),
    };
    return d;
}
