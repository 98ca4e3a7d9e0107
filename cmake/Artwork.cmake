# Artwork: the pictures are drawn as text in resources/art and turned into
# bitmaps and icons at build time by our converter, tools/artc/artc.cpp.
#
# Sets:
#   MOKE_ARTWORK_DIR    folder of the generated files (include it when compiling the .rc)
#   MOKE_ARTWORK_FILES  the generated files
#   MOKE_ARTWORK_RC     the resource script that names them
# and the target moke_artwork, which makes them all.

set(MOKE_ARTWORK_DIR "${CMAKE_BINARY_DIR}/artwork")
set(MOKE_ARTWORK_RC "${PROJECT_SOURCE_DIR}/resources/MokeMemo.rc")
set(_moke_art_source_dir "${PROJECT_SOURCE_DIR}/resources/art")
set(_moke_artc_source "${PROJECT_SOURCE_DIR}/tools/artc/artc.cpp")

# The converter runs on the build machine. In a cross build it is compiled
# with the build machine's own compiler; otherwise it is an ordinary target.
if(CMAKE_CROSSCOMPILING)
  find_program(MOKE_HOST_CXX NAMES c++ g++ clang++ NO_CMAKE_FIND_ROOT_PATH)
  if(NOT MOKE_HOST_CXX)
    message(FATAL_ERROR "No C++ compiler for the build machine (c++, g++ or clang++) was found: "
                        "it is needed to build the artwork converter tools/artc/artc.cpp. "
                        "Set MOKE_HOST_CXX to one.")
  endif()
  set(MOKE_ARTC "${CMAKE_BINARY_DIR}/tools/artc/artc${CMAKE_HOST_EXECUTABLE_SUFFIX}")
  add_custom_command(
    OUTPUT "${MOKE_ARTC}"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${CMAKE_BINARY_DIR}/tools/artc"
    COMMAND "${MOKE_HOST_CXX}" -std=c++20 -O2 -o "${MOKE_ARTC}" "${_moke_artc_source}"
    DEPENDS "${_moke_artc_source}"
    COMMENT "Building the artwork converter with the host compiler"
    VERBATIM)
  set(_moke_artc_command "${MOKE_ARTC}")
  set(_moke_artc_depends "${MOKE_ARTC}")
else()
  add_executable(artc "${_moke_artc_source}")
  set(_moke_artc_command artc)
  set(_moke_artc_depends artc)
endif()

# One art file per picture: NAME.art becomes NAME.bmp or NAME.ico.
set(MOKE_ARTWORK_FILES "")
foreach(_moke_art IN ITEMS ImageList1.bmp CoolBar1.bmp MainForm.ico Program.ico)
  get_filename_component(_moke_art_name "${_moke_art}" NAME_WE)
  set(_moke_art_in "${_moke_art_source_dir}/${_moke_art_name}.art")
  set(_moke_art_out "${MOKE_ARTWORK_DIR}/${_moke_art}")
  add_custom_command(
    OUTPUT "${_moke_art_out}"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${MOKE_ARTWORK_DIR}"
    COMMAND ${_moke_artc_command} "${_moke_art_in}" "${_moke_art_out}"
    DEPENDS "${_moke_art_in}" ${_moke_artc_depends}
    COMMENT "Drawing ${_moke_art}"
    VERBATIM)
  list(APPEND MOKE_ARTWORK_FILES "${_moke_art_out}")
endforeach()

add_custom_target(moke_artwork DEPENDS ${MOKE_ARTWORK_FILES})

# The resource script is compiled again whenever a picture changes.
set_property(SOURCE "${MOKE_ARTWORK_RC}" APPEND PROPERTY OBJECT_DEPENDS ${MOKE_ARTWORK_FILES})
