#include "platform/win/ui_font.h"

#include "platform/language.h"

#include <initializer_list>

namespace qv {

namespace {

bool FaceInstalled(const wchar_t* face) {
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    wcscpy_s(lf.lfFaceName, face);
    bool found = false;
    const HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(
        dc, &lf,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM l) {
            *reinterpret_cast<bool*>(l) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
    return found;
}

} // namespace

HFONT CreateUiFont(int languageIndex, UINT dpi) {
    LOGFONTW lf{};
    lf.lfHeight = MulDiv(12, static_cast<int>(dpi), 96);
    const bool japanese = languageIndex == kJapanese;
    lf.lfCharSet = japanese ? SHIFTJIS_CHARSET : DEFAULT_CHARSET;
    lf.lfPitchAndFamily = japanese ? DEFAULT_PITCH : FIXED_PITCH | FF_MODERN;
    const wchar_t* face = L"MS UI Gothic";
    if (!japanese) {
        static const wchar_t* installed = [] {
            for (const wchar_t* candidate :
                 {L"Consolas", L"Lucida Console", L"DejaVu Sans Mono", L"Courier New"}) {
                if (FaceInstalled(candidate))
                    return candidate;
            }
            return L"";
        }();
        face = installed;
    }
    wcscpy_s(lf.lfFaceName, face);
    return CreateFontIndirectW(&lf);
}

HFONT ScaledFont(HFONT base, UINT fromDpi, UINT toDpi) {
    LOGFONTW lf{};
    GetObjectW(base, sizeof lf, &lf);
    lf.lfHeight = MulDiv(lf.lfHeight, static_cast<int>(toDpi), static_cast<int>(fromDpi));
    lf.lfWidth = MulDiv(lf.lfWidth, static_cast<int>(toDpi), static_cast<int>(fromDpi));
    return CreateFontIndirectW(&lf);
}

} // namespace qv
