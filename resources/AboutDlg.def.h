// The About box's definition: every component at its place and size.
#pragma once

#include "about/URLLabel.h"
#include "app/frame/FormDefinition.h"
#include "app/frame/MessageLayout.h"
#include "resources/resource.h"

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

inline std::vector<ComponentDef> AboutDlgComponents() {
    const auto label = [](int left, int top, const char* caption) {
        return LabelDef{.control = {.left = left, .top = top, .caption = caption}};
    };
    const auto link = [](int left, int top, const char* address, COLORREF color) {
        return URLLabelDef{.control = {.left = left, .top = top, .caption = address,
                                       .font = FontDef{"ＭＳ Ｐゴシック", -12, SHIFTJIS_CHARSET, 0, color}},
                           .transparent = true,
                           .executable = true};
    };
    constexpr COLORREF blue = 0xFF0000, green = 0x008000, lime = 0x00FF00;
    URLLabelDef mail = link(72, 144, "mailto:mokememo@example.com", green);
    mail.hotColor = lime;
    return {
        Component("Image1", ImageDef{.control = {.left = 8, .top = 8, .width = 32, .height = 32}, .icon = IDI_PROGRAM}),
        Component("Label1", LabelDef{.control = {.left = 64, .top = 8, .caption = "もけらメモ帳 for Windows95/98",
                                                 .font = FontDef{"ＭＳ Ｐゴシック", -12, SHIFTJIS_CHARSET, TFont::Bold}}}),
        Component("Label2", label(64, 24, "第五版")),
        Component("Label6", label(64, 48, "キャラクター原画：もけら制作室")),
        Component("URLLabel1", link(72, 64, "http://www.example.com/mokera/", blue)),
        Component("Label8", label(64, 80, "アイコンデザイン：アイコン工房")),
        Component("URLLabel2", link(72, 96, "http://www.example.org/icons/", blue)),
        Component("Label3", label(64, 112, "プログラム：もけらメモ帳開発室")),
        Component("AuthorURL", link(72, 128, "http://www.example.net/mokememo/", blue)),
        Component("AuthorMail", mail),
        Component("Label7", label(64, 160, "Copyright (C) 1998-2026 もけらメモ帳開発室")),
        Component("Bevel1", BevelDef{.control = {.left = 16, .top = 184, .width = 321, .height = 2}}),
        Component("Label4", label(48, 192, "Windows が使用できる物理メモリ：")),
        Component("PhysMem", label(240, 192, "0")),
        Component("Label5", label(49, 208, "メモリ使用率：")),
        Component("FreeRes", label(240, 208, "0")),
        Component("OKBtn", ButtonDef{.control = {.left = 248, .top = 228, .width = 79, .height = 23, .caption = "OK"},
                                     .modalResult = mrOk,
                                     .isDefault = true}),
    };
}

} // namespace moke::definition
