// A fresh main window for each test, made as the program makes it.
#pragma once

#include "app/UMemo.h"
#include "app/frame/Application.h"
#include "tests/support/Gui.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace moke::test {

// A named component of a form; a failure when there is none of that kind.
template <class T> T& Part(TComponent& owner, const char* name) {
    auto* found = dynamic_cast<T*>(owner.FindComponent(name));
    if (!found) throw std::runtime_error(std::string("no component ") + name);
    return *found;
}

// Makes the main window as the program does, with a command line, shows it,
// and ends it again.
inline void StartMainForm(std::unique_ptr<TMainForm>& form, std::vector<std::string> arguments) {
    Application().ClearTerminated();
    form = std::make_unique<TMainForm>(&Application(), std::move(arguments));
    Application().SetMainForm(form.get());
    form->Show();
    Pump();
}

inline void EndMainForm(std::unique_ptr<TMainForm>& form) {
    Application().SetMainForm(nullptr);
    Application().OnHint = nullptr;
    form.reset();
    Pump();
    Application().ClearTerminated();
}

class MainFormTest : public testing::Test {
protected:
    void SetUp() override { StartMainForm(form, {"MokeMemo.exe"}); }
    void TearDown() override { EndMainForm(form); }
    TMainForm& Form() { return *form; }
    TControl& Control(const char* name) { return Part<TControl>(Form(), name); }
    TMenuItem& Item(const char* name) { return Part<TMenuItem>(Form(), name); }
    // Runs a command through its menu item, as the platform's menu reports it.
    void Command(const char* itemName) {
        SendMessageA(Form().Handle(), WM_COMMAND, MAKEWPARAM(Item(itemName).Command(), 0), 0);
        Pump();
    }
    // Clicks a tool button in its middle, as the user does.
    void ClickToolButton(const char* name) {
        auto& button = Part<TToolButton>(Form(), name);
        PostClick(button.Parent()->Handle(),
                  POINT{button.Left() + button.Width() / 2, button.Top() + button.Height() / 2});
        Pump();
    }

    std::unique_ptr<TMainForm> form;
};

} // namespace moke::test
