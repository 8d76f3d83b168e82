// The English windows of the tests draw in KT1, as the program's do: the test executable carries
// no font of its own, so the process registers QV.exe's for its life.
#include "platform/win/ui_font.h"
#include "support/fake_ui.h"

namespace {

struct Kt1FromProgram {
    Kt1FromProgram() {
        const HMODULE qv =
            LoadLibraryExW(L"" QV_EXE_DIR "/QV.exe", nullptr,
                           LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        qv::test::RecordingUi ui;
        if (qv) {
            font = qv::RegisterUiFont(qv, ui, "%s");
            FreeLibrary(qv); // the registration holds its own copy
        }
    }
    qv::PrivateFont font;
} kt1;

} // namespace
