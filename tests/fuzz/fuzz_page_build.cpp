// The content box building a page from any document, offscreen: what the
// page read hands over (positions, sizes, fonts, names) must never crash the
// build or overflow an integer on the way to a widget.
#include <QApplication>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "FuzzFiles.h"
#include "core/MessageHook.h"
#include "present/PageView.h"

namespace {

ov::PageView& Box() {
    static int argc = 1;
    static char name[] = "fuzz_page_build";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        return new QApplication(argc, argv);
    }();
    static ov::PageView* box = [] {
        auto* created = new ov::PageView(nullptr);
        const QString folder = QString::fromStdString(ovfuzz::ScratchFolder("page").string());
        created->SetFilePath(folder);
        created->SetImagePath(folder);
        created->SetAudioPath(folder + "/");
        created->SetFileName("page.ovb");
        created->resize(800, 600);
        return created;
    }();
    (void)app;
    return *box;
}

}  // namespace

// The window system's libraries keep caches they never free (fonts, the sound
// server's client, the main loop); what they hold is theirs, not the page's.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libglib-2.0.so\nleak:libpulse.so\nleak:libdbus-1.so\n"
           "leak:__vasprintf_internal\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ovfuzz::SilenceLog();
    ov::PageView& box = Box();
    ovfuzz::WriteBytes(ovfuzz::ScratchFolder("page") / "page.ovb",
                       std::string_view(reinterpret_cast<const char*>(data), size));
    box.SetActive(true);
    box.SetActive(false);
    ov::TakeRecordedMessages();
    return 0;
}
