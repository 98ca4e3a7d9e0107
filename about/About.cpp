#include "about/About.h"

#include "about/NumberFormat.h"
#include "app/frame/FormDefinition.h"
#include "resources/AboutDlg.def.h"

namespace moke {

namespace {
const Handler<TAboutDlg> kHandlers[] = {
    {"FormCreate", &TAboutDlg::FormCreate},
};

std::string ThousandsSeparator() {
    char text[8] = {};
    return GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, text, sizeof text) > 0 ? std::string(text)
                                                                                         : std::string(",");
}
} // namespace

MemoryFigures QueryMemory() {
    // The extended query: the plain one saturates at 4 GB.
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (GlobalMemoryStatusEx(&status)) return MemoryFigures{status.ullTotalPhys, status.dwMemoryLoad};
    MEMORYSTATUS plain{};
    plain.dwLength = sizeof plain;
    GlobalMemoryStatus(&plain);
    return MemoryFigures{plain.dwTotalPhys, plain.dwMemoryLoad};
}

TAboutDlg::TAboutDlg(TComponent* owner) : TForm(owner, "TAboutDlg") {
    BuildForm<TAboutDlg>(*this, definition::AboutDlg, definition::AboutDlgComponents(), kHandlers);
    DoCreate();
}

TLabel& TAboutDlg::PhysMem() { return dynamic_cast<TLabel&>(*FindComponent("PhysMem")); }
TLabel& TAboutDlg::FreeRes() { return dynamic_cast<TLabel&>(*FindComponent("FreeRes")); }

void TAboutDlg::FormCreate(TObject&) {
    const MemoryFigures memory = QueryMemory();
    PhysMem().SetCaption(FormatKilobytes((memory.totalPhysical + 512) / 1024, ThousandsSeparator()));
    FreeRes().SetCaption(FormatPercent(static_cast<int>(memory.memoryLoad)));
}

} // namespace moke
