// The drop-down of the main window read from another process, as screen
// readers and UI automation read it: entries of any length come back whole
// from the drop-down and from its list, and the program lives on with its
// entries unchanged, also after narrow reads.
#include "tests/support/Files.h"
#include "tests/support/MainFormFixture.h"

#include <cstdio>

namespace moke::test {
namespace {

// An entry of about `bytes` code page 932 bytes, double-byte characters
// (one with a 0x5C trail byte) among single-byte ones.
std::string Entry(size_t bytes, char tag) {
    std::string entry(1, tag);
    while (entry.size() + 8 <= bytes) entry += "表示あa-ｶﾅ";
    return entry;
}

std::wstring Wide(const std::string& bytes) {
    std::wstring wide(bytes.size(), L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                        wide.data(), static_cast<int>(wide.size()))));
    return wide;
}

struct Read {
    DWORD exitCode = 999;
    std::string bytes;
};

// Runs the reader and serves the program's windows while it reads.
Read ReadFromAnotherProcess(HWND window, int index, const char* what, const char* form) {
    Read read;
    const std::string output = ExecutableFolder() + "list-read.out";
    DeleteFileA(output.c_str());
    char handle[32];
    std::snprintf(handle, sizeof handle, "%llx", static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(window)));
    std::string command = "\"" + ExecutableFolder() + "moke_list_reader.exe\" " + handle + " " +
                          std::to_string(index) + " " + what + " " + form + " \"" + output + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return read;
    PumpUntil([&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }, std::chrono::seconds(60));
    GetExitCodeProcess(process.hProcess, &read.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    read.bytes = ReadBytes(output);
    DeleteFileA(output.c_str());
    return read;
}

TEST(DropDownRead, AnotherProcessReadsEveryEntryWholeWhateverItsLength) {
    const std::vector<std::string> entries{Entry(3000, '1'), Entry(5000, '2'), Entry(70000, '3'), "短い"};
    const std::string listFile = ExecutableFolder() + "MokeList.txt";
    const std::string saved = ReadBytes(listFile);
    std::string contents;
    for (const std::string& entry : entries) contents += entry + "\r\n";
    WriteBytes(listFile, contents);
    std::unique_ptr<TMainForm> form;
    StartMainForm(form, {"MokeMemo.exe"});
    WriteBytes(listFile, saved);

    TComboBox& combo = form->ComboBox1;
    ASSERT_EQ(combo.Count(), static_cast<int>(entries.size()));
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo.Handle(), &info));
    const struct {
        HWND window;
        const char* what;
    } targets[] = {{combo.Handle(), "combo"}, {info.hwndList, "list"}};
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::wstring wide = Wide(entries[i]);
        const std::string wideBytes(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
        for (const auto& target : targets) {
            const Read read = ReadFromAnotherProcess(target.window, static_cast<int>(i), target.what, "wide");
            ASSERT_TRUE(IsWindow(target.window)) << "the program survives a wide read of entry " << i;
            EXPECT_EQ(read.exitCode, 0u) << "entry " << i << " " << target.what;
            EXPECT_TRUE(read.bytes == wideBytes) << "entry " << i << " " << target.what << ": " << read.bytes.size()
                                                 << " bytes read of " << wideBytes.size();
            // A narrow reader converts on its own side: Wine 8 hands it the
            // wide text and its character count, so only the program's side
            // is checked here.
            ReadFromAnotherProcess(target.window, static_cast<int>(i), target.what, "narrow");
            ASSERT_TRUE(IsWindow(target.window)) << "the program survives a narrow read of entry " << i;
        }
    }
    for (size_t i = 0; i < entries.size(); ++i)
        EXPECT_TRUE(combo.Item(static_cast<int>(i)) == entries[i]) << "entry " << i << " is unchanged";
    EndMainForm(form);
}

} // namespace
} // namespace moke::test
