# The Windows programs: the Win32 layer, its tests under Wine, and Dovra.scr.
set(DOVRA_WIN32_LIBS user32 gdi32 msimg32 winmm kernel32 comdlg32 shell32 version)

# The resource script: pictures, icon, cursor, manifest, version record.
enable_language(RC)
set(DOVRA_RC ${CMAKE_SOURCE_DIR}/src/resources/dovra.rc)
file(GLOB DOVRA_RESOURCE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/resources/*.bmp
     ${CMAKE_SOURCE_DIR}/src/resources/*.ico ${CMAKE_SOURCE_DIR}/src/resources/*.cur
     ${CMAKE_SOURCE_DIR}/src/resources/*.manifest ${CMAKE_SOURCE_DIR}/src/resources/*.h)
set_source_files_properties(${DOVRA_RC} PROPERTIES OBJECT_DEPENDS "${DOVRA_RESOURCE_FILES}")

add_library(dovra_win32 STATIC ${DOVRA_WIN32_SOURCES})
target_link_libraries(dovra_win32 PUBLIC dovra_core ${DOVRA_WIN32_LIBS})

file(GLOB DOVRA_WIN32_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*.cpp)
if(DOVRA_WIN32_TESTS)
  add_executable(win32_tests ${DOVRA_WIN32_TESTS} ${DOVRA_RC})
  target_include_directories(win32_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/src/resources)
  target_link_libraries(win32_tests PRIVATE dovra_win32 ${DOVRA_GTEST_MAIN})
  add_test(NAME win32_tests COMMAND win32_tests)
endif()

add_executable(frame_bench ${CMAKE_SOURCE_DIR}/bench/frame_bench_win32.cpp)
target_link_libraries(frame_bench PRIVATE dovra_win32)

add_executable(mp3_restart_probe ${CMAKE_SOURCE_DIR}/bench/mp3_restart_probe_win32.cpp)
target_link_libraries(mp3_restart_probe PRIVATE dovra_win32)
