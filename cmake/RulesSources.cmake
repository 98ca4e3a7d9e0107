# Files that include no Windows header: built for the program and natively
# (with sanitizers) for their tests.
set(MOKE_RULES_SOURCES
  about/NumberFormat.cpp
  app/frame/CaptionText.cpp
  app/frame/CommandLine.cpp
  app/frame/Failure.cpp
  app/frame/FailureText.cpp
  app/frame/FilterText.cpp
  app/frame/HintText.cpp
  app/frame/LeadBytes.cpp
  app/frame/MessageLayout.cpp
  app/frame/ShortcutText.cpp
  document/LineBreaks.cpp
  document/ListLines.cpp
  document/PathParts.cpp
  document/TextEncoding.cpp
  document/TextScan.cpp
  document/editor/TextStore.cpp
  document/editor/UndoRecord.cpp
  document/editor/WordBreak.cpp
  editing/DateStamp.cpp
)
# Tests of those files (GoogleTest), run natively and under Wine.
set(MOKE_RULES_TEST_SOURCES
  tests/about/NumberFormatTest.cpp
  tests/app/frame/CaptionTextTest.cpp
  tests/app/frame/CommandLineTest.cpp
  tests/app/frame/FailureTest.cpp
  tests/app/frame/FailureTextTest.cpp
  tests/app/frame/FilterTextTest.cpp
  tests/app/frame/HintTextTest.cpp
  tests/app/frame/LeadBytesTest.cpp
  tests/app/frame/MessageLayoutTest.cpp
  tests/app/frame/ShortcutTextTest.cpp
  tests/document/LineBreaksTest.cpp
  tests/document/ListLinesTest.cpp
  tests/document/PathPartsTest.cpp
  tests/document/TextEncodingRulesTest.cpp
  tests/document/TextScanTest.cpp
  tests/document/editor/TextStoreTest.cpp
  tests/document/editor/UndoRecordTest.cpp
  tests/document/editor/WordBreakTest.cpp
  tests/editing/DateStampTest.cpp
  tests/tools/ArtcTest.cpp
)
get_filename_component(_moke_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
list(TRANSFORM MOKE_RULES_SOURCES PREPEND ${_moke_root}/)
list(TRANSFORM MOKE_RULES_TEST_SOURCES PREPEND ${_moke_root}/)
