# The Windows program, in layers: the component layer, the subsystems, the
# main window, the entry.
set(_src ${CMAKE_CURRENT_LIST_DIR}/..)

add_library(moke_frame STATIC
  ${_src}/app/frame/Application.cpp
  ${_src}/app/frame/CodePage.cpp
  ${_src}/app/frame/ComCtrls.cpp
  ${_src}/app/frame/Control.cpp
  ${_src}/app/frame/Dialogs.cpp
  ${_src}/app/frame/FormDefinition.cpp
  ${_src}/app/frame/HintWindow.cpp
  ${_src}/app/frame/Forms.cpp
  ${_src}/app/frame/Menus.cpp
  ${_src}/app/frame/MessageBox.cpp
  ${_src}/app/frame/StdCtrls.cpp
  ${_src}/app/frame/Timer.cpp
)
target_link_libraries(moke_frame PUBLIC moke_rules user32 gdi32 comctl32 comdlg32 shell32)

# The editor's own window class (its platform-free parts are rules).
add_library(moke_editor STATIC
  ${_src}/document/editor/EditorWindow.cpp
)
target_link_libraries(moke_editor PUBLIC moke_rules user32 gdi32 imm32)

add_library(moke_parts STATIC
  ${_src}/document/LongPath.cpp
  ${_src}/document/Memo.cpp
  ${_src}/document/TextFile.cpp
  ${_src}/editing/RegionalTime.cpp
  ${_src}/shell/ShellLaunch.cpp
  ${_src}/about/URLLabel.cpp
  ${_src}/about/About.cpp
)
target_link_libraries(moke_parts PUBLIC moke_frame moke_editor)

add_library(moke_main STATIC
  ${_src}/app/UMemo.cpp
)
target_link_libraries(moke_main PUBLIC moke_parts)

# Icons and pictures, for the program and for the tests that build its windows.
add_library(moke_resources OBJECT ${MOKE_ARTWORK_RC})
target_include_directories(moke_resources PRIVATE ${PROJECT_SOURCE_DIR} ${MOKE_ARTWORK_DIR})
add_dependencies(moke_resources moke_artwork)
# The manifest (code page 932 for the process) is part of the resource script.
set_property(SOURCE ${MOKE_ARTWORK_RC} APPEND PROPERTY OBJECT_DEPENDS ${_src}/resources/MokeMemo.manifest)

add_executable(MokeMemo WIN32 ${_src}/app/MokeMemo.cpp)
target_link_libraries(MokeMemo PRIVATE moke_main moke_resources)

# The sample phrase list beside the program (and beside the tests that build
# its main window).
configure_file(${_src}/resources/MokeList.txt ${CMAKE_BINARY_DIR}/MokeList.txt COPYONLY)
configure_file(${_src}/resources/MokeList.txt ${CMAKE_BINARY_DIR}/tests/MokeList.txt COPYONLY)

# The word-wrap toggle measured inside the program (make bench).
add_executable(moke_toggle_bench ${_src}/bench/ToggleBench.cpp)
target_link_libraries(moke_toggle_bench PRIVATE moke_main moke_resources)

# The outside probe of the Wine benchmarks (make bench).
add_executable(moke_probe ${_src}/bench/probe.cpp)
target_include_directories(moke_probe PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(moke_probe PRIVATE psapi)

# The editor control against the platform's EDIT, in process (make bench-editor).
add_executable(moke_editor_bench ${_src}/bench/EditorBench.cpp)
target_include_directories(moke_editor_bench PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(moke_editor_bench PRIVATE moke_editor psapi)
