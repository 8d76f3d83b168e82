// KT1 as QV.exe carries it: registered from the program file, it is the 6 x 12 OEM face and
// draws the source face's pixels.
#include "platform/win/gdi.h"
#include "platform/win/ui_font.h"
#include "support/fake_ui.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

// Rows of a cell, bit 5 the leftmost column, transcribed from ImageMagick's rendering (through
// FreeType) of /usr/share/fonts/X11/misc/6x12.pcf.gz. Bytes of code page 437 go through
// TextOutA: Wine maps wide text through the ANSI code page whatever the font's character set.
const std::pair<char, std::array<int, 12>> kGlyphs[] = {
    {'A', {0, 0, 0, 0x1C, 0x22, 0x22, 0x3E, 0x22, 0x22, 0x22, 0, 0}},
    {'g', {0, 0, 0, 0, 0, 0x1C, 0x22, 0x22, 0x22, 0x1E, 0x02, 0x1C}},
    {'0', {0, 0, 0, 0x0C, 0x12, 0x12, 0x12, 0x12, 0x12, 0x0C, 0, 0}},
    {'\xC4', {0, 0, 0, 0, 0, 0, 0x3F, 0, 0, 0, 0, 0}}, // U+2500, box drawing
};

TEST(Kt1FontTest, ProgramResourceIsTheSixByTwelveOemFace) {
    const HMODULE qv = LoadLibraryExW(L"" QV_EXE_DIR "/QV.exe", nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    qv::test::RecordingUi ui;
    const qv::PrivateFont registered = qv::RegisterUiFont(qv, ui, "%s");
    ASSERT_TRUE(registered);
    EXPECT_TRUE(ui.messages.empty());

    LOGFONTW lf{};
    lf.lfHeight = 12;
    lf.lfCharSet = OEM_CHARSET;
    wcscpy_s(lf.lfFaceName, qv::kKt1Face);
    const qv::Font font(CreateFontIndirectW(&lf));
    const qv::Bitmap bitmap(CreateBitmap(8, 12, 1, 1, nullptr));
    const HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, bitmap);
    SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    EXPECT_EQ(std::wstring(face), L"KT1");
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    EXPECT_EQ(tm.tmHeight, 12);
    EXPECT_EQ(tm.tmAveCharWidth, 6);
    EXPECT_EQ(tm.tmMaxCharWidth, 6);

    SetTextColor(dc, RGB(255, 255, 255)); // set bits
    SetBkColor(dc, RGB(0, 0, 0));
    for (const auto& [ch, expected] : kGlyphs) {
        TextOutA(dc, 0, 0, &ch, 1);
        unsigned char bits[12 * 2] = {}; // rows padded to 16 bits
        GetBitmapBits(bitmap, sizeof bits, bits);
        std::array<int, 12> drawn;
        for (int y = 0; y < 12; ++y)
            drawn[y] = bits[2 * y] >> 2;
        EXPECT_EQ(drawn, expected) << "0x" << std::hex << (ch & 0xFF);
    }
    DeleteDC(dc);
    FreeLibrary(qv);
}

} // namespace
