#include "framework/win/LayeredImage.h"

#include <cstring>

namespace {

BLENDFUNCTION Blend(BYTE bAlpha)
{
    BLENDFUNCTION blend = {};
    blend.BlendOp = AC_SRC_OVER;
    blend.SourceConstantAlpha = bAlpha;
    blend.AlphaFormat = AC_SRC_ALPHA;
    return blend;
}

} // namespace

bool C_LayeredImage::Load(const C_PspImage& picture)
{
    Release();
    if (pUpdateLayeredWindow == nullptr) {
        if (!user32.IsLoaded() && !user32.Load("user32.dll"))
            return false;
        pUpdateLayeredWindow = user32.GetAs<UpdateLayeredWindowFunction>("UpdateLayeredWindow");
        if (pUpdateLayeredWindow == nullptr) {
            ::SetLastError(ERROR_PROC_NOT_FOUND);
            return false;
        }
    }
    if (picture.IsEmpty()) {
        ::SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    const LONG lWidth = static_cast<LONG>(picture.GetWidth());
    const LONG lHeight = static_cast<LONG>(picture.GetHeight());

    HDC hScreen = ::GetDC(nullptr);
    if (hScreen == nullptr)
        return false;
    hMemoryDC = ::CreateCompatibleDC(hScreen);
    ::ReleaseDC(nullptr, hScreen);
    if (hMemoryDC == nullptr)
        return false;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = lWidth;
    info.bmiHeader.biHeight = lHeight;          // bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    hBitmap = ::CreateDIBSection(hMemoryDC, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (hBitmap == nullptr || pBits == nullptr) {
        const DWORD dwError = ::GetLastError();
        Release();
        ::SetLastError(dwError != 0 ? dwError : ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    // The picture's top row is the DIB's last.
    const size_t nRow = static_cast<size_t>(lWidth) * 4;
    const uint8_t* pFrom = picture.GetPixels().data();
    uint8_t* pTo = static_cast<uint8_t*>(pBits);
    for (LONG y = 0; y < lHeight; ++y)
        std::memcpy(pTo + (lHeight - 1 - y) * nRow, pFrom + y * nRow, nRow);
    hOldBitmap = ::SelectObject(hMemoryDC, hBitmap);
    size.cx = lWidth;
    size.cy = lHeight;
    return true;
}

void C_LayeredImage::Release()
{
    if (hMemoryDC != nullptr && hOldBitmap != nullptr)
        ::SelectObject(hMemoryDC, hOldBitmap);
    hOldBitmap = nullptr;
    if (hBitmap != nullptr)
        ::DeleteObject(hBitmap);
    hBitmap = nullptr;
    if (hMemoryDC != nullptr)
        ::DeleteDC(hMemoryDC);
    hMemoryDC = nullptr;
    size.cx = size.cy = 0;
}

bool C_LayeredImage::Update(HWND hWnd, POINT* pptPosition, BYTE bAlpha) const
{
    if (!IsLoaded()) {
        ::SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    HDC hScreen = ::GetDC(nullptr);
    if (hScreen == nullptr)
        return false;
    SIZE sizeShown = size;
    POINT ptSource = {0, 0};
    BLENDFUNCTION blend = Blend(bAlpha);
    const BOOL bDone = pUpdateLayeredWindow(hWnd, hScreen, pptPosition, &sizeShown, hMemoryDC,
                                            &ptSource, 0, &blend, ULW_ALPHA);
    const DWORD dwError = ::GetLastError();
    ::ReleaseDC(nullptr, hScreen);
    ::SetLastError(dwError);
    return bDone != FALSE;
}
