// The GUI tests run in one process with the program's application object,
// as the program itself would.
#include "app/frame/Application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    moke::TApplication& app = moke::Application();
    app.Initialize();
    app.SetTitle("もけらメモ帳");
    return RUN_ALL_TESTS();
}
