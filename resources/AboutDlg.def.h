// The About box's definition.
#pragma once

#include "app/frame/FormDefinition.h"

#include <vector>

namespace moke::definition {

inline const FormDef AboutDlg{
    .className = "TAboutDlg",
    .caption = "もけらメモ帳のバージョン情報",
    .borderStyle = TBorderStyle::Dialog,
    .position = TPosition::ScreenCenter,
    .clientWidth = 349,
    .clientHeight = 260,
    .font = {"ＭＳ Ｐゴシック", -12, SHIFTJIS_CHARSET},
    .onCreate = "FormCreate",
};

inline std::vector<ComponentDef> AboutDlgComponents() { return {}; }

} // namespace moke::definition
