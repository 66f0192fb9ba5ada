# The Windows programs: the Win32 layer, its tests under Wine, and Dovra.scr.
# Dovra imports only DLLs that Windows always loads from its own folder (its
# "known DLLs"); winmm, msimg32, oleacc and wtsapi32 are loaded from the system folder
# when first used (toolkit/system_dlls_win32.h). The test programs may import them.
# uuid comes before oleacc: the x64 oleacc import library also has a function
# stub named IID_IAccessible, which would otherwise stand for the interface id.
set(DOVRA_WIN32_LIBS user32 gdi32 kernel32 comdlg32 shell32 ole32 oleaut32 uuid)
set(DOVRA_TEST_LIBS winmm msimg32 version psapi uuid oleacc)

# The resource script: pictures, icon, cursor, manifest, version record.
enable_language(RC)
set(DOVRA_RC ${CMAKE_SOURCE_DIR}/src/resources/dovra.rc)
file(GLOB DOVRA_RESOURCE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/resources/*.png
     ${CMAKE_SOURCE_DIR}/src/resources/*.jpg
     ${CMAKE_SOURCE_DIR}/src/resources/*.ico ${CMAKE_SOURCE_DIR}/src/resources/*.cur
     ${CMAKE_SOURCE_DIR}/src/resources/*.manifest ${CMAKE_SOURCE_DIR}/src/resources/*.h)
set_source_files_properties(${DOVRA_RC} PROPERTIES OBJECT_DEPENDS "${DOVRA_RESOURCE_FILES}")

add_library(dovra_win32 STATIC ${DOVRA_WIN32_SOURCES})
target_link_libraries(dovra_win32 PUBLIC dovra_core ${DOVRA_WIN32_LIBS})

file(GLOB DOVRA_WIN32_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*.cpp)
if(DOVRA_WIN32_TESTS)
  add_executable(win32_tests ${DOVRA_WIN32_TESTS} ${DOVRA_RC})
  target_include_directories(win32_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/src/resources)
  target_link_libraries(win32_tests PRIVATE dovra_win32 ${DOVRA_TEST_LIBS} ${DOVRA_GTEST_MAIN})
  add_test(NAME win32_tests COMMAND win32_tests)
endif()

add_executable(frame_bench ${CMAKE_SOURCE_DIR}/bench/frame_bench_win32.cpp ${DOVRA_RC})
target_include_directories(frame_bench PRIVATE ${CMAKE_SOURCE_DIR}/src/resources)
target_link_libraries(frame_bench PRIVATE dovra_win32 ${DOVRA_TEST_LIBS})

add_executable(mp3_restart_probe ${CMAKE_SOURCE_DIR}/bench/mp3_restart_probe_win32.cpp)
target_link_libraries(mp3_restart_probe PRIVATE dovra_win32 ${DOVRA_TEST_LIBS})

# Dovra.scr: the screen saver itself, a GUI program.
add_executable(Dovra WIN32 ${CMAKE_SOURCE_DIR}/src/startup/main_win32.cpp ${DOVRA_RC})
target_include_directories(Dovra PRIVATE ${CMAKE_SOURCE_DIR}/src/resources)
target_link_libraries(Dovra PRIVATE dovra_win32)
set_target_properties(Dovra PROPERTIES SUFFIX ".scr")
target_link_options(Dovra PRIVATE -s)
# 4 GB of addresses for the 32-bit program on 64-bit Windows, not 2: nothing in
# it takes an address for a signed number. (An x64 program has them anyway.)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  target_link_options(Dovra PRIVATE -Wl,--large-address-aware)
endif()

# End-to-end tests: drive Dovra.scr from outside, as the host and a user would.
file(GLOB DOVRA_E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
list(FILTER DOVRA_E2E_TESTS EXCLUDE REGEX "(_main|planted_dll)_win32\\.cpp$")
add_executable(e2e_tests ${DOVRA_E2E_TESTS} ${CMAKE_SOURCE_DIR}/tests/win32/win32_test_util.cpp
               ${CMAKE_SOURCE_DIR}/tests/win32/resource_counts.cpp)
target_include_directories(e2e_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(e2e_tests PRIVATE ${DOVRA_GTEST_MAIN} ${DOVRA_WIN32_LIBS} ${DOVRA_TEST_LIBS})
add_dependencies(e2e_tests Dovra)

add_executable(dovra_probe WIN32 ${CMAKE_SOURCE_DIR}/tests/e2e/dovra_probe_main_win32.cpp
               ${CMAKE_SOURCE_DIR}/tests/win32/resource_counts.cpp ${DOVRA_RC})
target_include_directories(dovra_probe PRIVATE ${CMAKE_SOURCE_DIR}/src/resources ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(dovra_probe PRIVATE dovra_win32 psapi)

add_executable(escape_reaction ${CMAKE_SOURCE_DIR}/bench/escape_reaction_win32.cpp)
add_executable(escape_baseline WIN32 ${CMAKE_SOURCE_DIR}/bench/escape_baseline_win32.cpp)
add_executable(static_present WIN32 ${CMAKE_SOURCE_DIR}/bench/static_present_win32.cpp)
target_link_libraries(static_present PRIVATE user32 gdi32)

# A DLL with a system DLL's name, planted beside the saver by the tests.
add_library(planted_dll SHARED ${CMAKE_SOURCE_DIR}/tests/e2e/planted_dll_win32.cpp)
set_target_properties(planted_dll PROPERTIES PREFIX "" OUTPUT_NAME planted)
add_dependencies(e2e_tests planted_dll)

# The screen-saver settings page's preview pane, for the package tests.
add_executable(preview_host WIN32 ${CMAKE_SOURCE_DIR}/tests/package/preview_host_win32.cpp)
target_link_options(preview_host PRIVATE -municode)
