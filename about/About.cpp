#include "about/About.h"

#include "app/frame/FormDefinition.h"
#include "resources/AboutDlg.def.h"

namespace moke {

namespace {
const Handler<TAboutDlg> kHandlers[] = {
    {"FormCreate", &TAboutDlg::FormCreate},
};
} // namespace

TAboutDlg::TAboutDlg(TComponent* owner) : TForm(owner, "TAboutDlg") {
    BuildForm<TAboutDlg>(*this, definition::AboutDlg, definition::AboutDlgComponents(), kHandlers);
    DoCreate();
}

void TAboutDlg::FormCreate(TObject&) {}

} // namespace moke
