// A fresh main window for each test, made as the program makes it.
#pragma once

#include "app/UMemo.h"
#include "app/frame/Application.h"
#include "tests/support/Gui.h"

#include <gtest/gtest.h>

#include <memory>

namespace moke::test {

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

    std::unique_ptr<TMainForm> form;
};

} // namespace moke::test
