// The version-information box: the program's icon, name, edition, credits
// with link labels, and two figures of the machine's memory taken when the
// box is made.
#pragma once

#include "app/frame/Forms.h"
#include "app/frame/StdCtrls.h"

namespace moke {

class TAboutDlg : public TForm {
public:
    explicit TAboutDlg(TComponent* owner);

    void FormCreate(TObject& sender);

    TLabel& PhysMem();
    TLabel& FreeRes();
};

// The total physical memory in bytes and the memory load in percent.
struct MemoryFigures {
    unsigned long long totalPhysical;
    unsigned memoryLoad;
};
MemoryFigures QueryMemory();

} // namespace moke
