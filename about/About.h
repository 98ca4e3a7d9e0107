// The version-information box.
#pragma once

#include "app/frame/Forms.h"

namespace moke {

class TAboutDlg : public TForm {
public:
    explicit TAboutDlg(TComponent* owner);

    void FormCreate(TObject& sender);
};

} // namespace moke
