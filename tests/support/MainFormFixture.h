// A fresh main window for each test, made as the program makes it.
#pragma once

#include "app/UMemo.h"
#include "app/frame/Application.h"
#include "tests/support/Gui.h"

#include <gtest/gtest.h>

#include <memory>

namespace moke::test {

class MainFormTest : public testing::Test {
protected:
    void SetUp() override {
        Application().ClearTerminated();
        form = std::make_unique<TMainForm>(&Application(), std::vector<std::string>{"MokeMemo.exe"});
        Application().SetMainForm(form.get());
        form->Show();
        Pump();
    }
    void TearDown() override {
        Application().SetMainForm(nullptr);
        Application().OnHint = nullptr;
        form.reset();
        Pump();
        Application().ClearTerminated();
    }
    TMainForm& Form() { return *form; }

    std::unique_ptr<TMainForm> form;
};

} // namespace moke::test
