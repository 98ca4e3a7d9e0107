# Files that include no Windows header: built for the program and natively
# (with sanitizers) for their tests.
set(MOKE_RULES_SOURCES
  app/frame/Failure.cpp
  app/frame/LeadBytes.cpp
)
# Tests of those files (GoogleTest), run natively and under Wine.
set(MOKE_RULES_TEST_SOURCES
  tests/app/frame/LeadBytesTest.cpp
)
list(TRANSFORM MOKE_RULES_SOURCES PREPEND ${CMAKE_CURRENT_LIST_DIR}/../)
list(TRANSFORM MOKE_RULES_TEST_SOURCES PREPEND ${CMAKE_CURRENT_LIST_DIR}/../)
