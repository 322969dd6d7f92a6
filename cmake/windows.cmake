# Windows build: quorvel.exe, the helper programs, and the tests that run
# under Wine against the real window.
include(GoogleTest)
set(WIN32_DEFINITIONS UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
include(cmake/delay_load.cmake)
set(WIN32_LIBRARIES comctl32 ${comdlg32_DELAYED} ${shell32_DELAYED} ${ole32_DELAYED}
    ${avifil32_DELAYED} gdi32 user32)

quorvel_layer(platform_win32 FOLDER platform/win32 SEES platform core
              LINKS platform ${WIN32_LIBRARIES})
target_compile_definitions(platform_win32 PUBLIC ${WIN32_DEFINITIONS})
quorvel_layer(ui_win32 FOLDER ui/win32 SEES ui platform/win32 platform core
              LINKS ui platform_win32)
quorvel_layer(app_win32 FOLDER app/win32 EXCLUDE main.cpp
              SEES app jobs args settings ui/win32 ui platform/win32 platform core
              LINKS app ui_win32)

set(RESOURCE_FILE ${CMAKE_SOURCE_DIR}/resources/quorvel.rc)
set_source_files_properties(${RESOURCE_FILE} PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/resources/quorvel.manifest;${CMAKE_SOURCE_DIR}/resources/quorvel.ico")

add_executable(quorvel WIN32 app/win32/main.cpp ${RESOURCE_FILE})
target_compile_options(quorvel PRIVATE ${WARNINGS})
target_include_directories(quorvel PRIVATE ${CMAKE_BINARY_DIR}/layers/app_win32)
target_link_libraries(quorvel PRIVATE app_win32)
target_link_options(quorvel PRIVATE -municode)

# Helper programs that the generated batch files call. They stand alone and
# share only the Win32 handle owners and the marks a batch keeps among its
# claims.
quorvel_view_folder(${CMAKE_BINARY_DIR}/layers/tools platform/win32)
quorvel_view_folder(${CMAKE_BINARY_DIR}/layers/tools core)
file(GLOB TOOL_SOURCES CONFIGURE_DEPENDS tools/*.cpp)
foreach(tool_source ${TOOL_SOURCES})
  get_filename_component(tool ${tool_source} NAME_WE)
  add_executable(${tool} ${tool_source})
  target_compile_definitions(${tool} PRIVATE ${WIN32_DEFINITIONS})
  target_include_directories(${tool} PRIVATE ${CMAKE_BINARY_DIR}/layers/tools)
  # They throw nothing: without exceptions, none of the C++ library's
  # exception handling is linked in, and each stays small.
  target_compile_options(${tool} PRIVATE ${WARNINGS} -fno-exceptions -fno-rtti)
  target_link_options(${tool} PRIVATE -municode)
  list(APPEND TOOL_TARGETS ${tool})
endforeach()

# A stand-in for the outside programs (x264, bepipe, neroaacenc, mp4box,
# mkvmerge) that the end-to-end test runs job batches with; it prints the
# recorded messages of the real ones.
add_executable(standin tests/standin/standin.cpp ${FIXTURES_H})
target_include_directories(standin PRIVATE ${CMAKE_BINARY_DIR}/generated)
target_compile_definitions(standin PRIVATE ${WIN32_DEFINITIONS})
target_compile_options(standin PRIVATE ${WARNINGS})
target_link_options(standin PRIVATE -municode)
# A muxer that ends with the exit code the end-to-end test tells it, copied
# there as mkvmerge.exe.
add_executable(exit_code_muxer tests/exit_code_muxer/exit_code_muxer.cpp)
target_compile_definitions(exit_code_muxer PRIVATE ${WIN32_DEFINITIONS})
target_compile_options(exit_code_muxer PRIVATE ${WARNINGS})
target_link_options(exit_code_muxer PRIVATE -municode)

# Tests against the real window and the helper programs, run under Wine.
file(GLOB GUI_TEST_SOURCES CONFIGURE_DEPENDS tests/gui/*.cpp)
if(GUI_TEST_SOURCES)
  add_executable(quorvel_gui_tests ${GUI_TEST_SOURCES} ${RESOURCE_FILE} ${FIXTURES_H})
  target_include_directories(quorvel_gui_tests PRIVATE ${CMAKE_BINARY_DIR}/generated)
  target_compile_options(quorvel_gui_tests PRIVATE ${WARNINGS})
  target_link_libraries(quorvel_gui_tests PRIVATE test_support app_win32 gmock_main version)
  if(TOOL_TARGETS)
    add_dependencies(quorvel_gui_tests quorvel standin exit_code_muxer ${TOOL_TARGETS})
  else()
    add_dependencies(quorvel_gui_tests quorvel standin exit_code_muxer)
  endif()
  # The suites run two at a time, each in a lane: a folder of its own that
  # holds a copy of the test program and of every program it starts, so that
  # two suites never share a program folder (settings, batches, tools).
  # ctest hands each suite a free lane (tests/gui/lanes.json); a suite runs
  # in one process, so that a failure names its suite and the output names
  # the test (each process under Wine costs a start, and a suite may share
  # what its tests set up).
  set(LANE_PROGRAMS $<TARGET_FILE:quorvel_gui_tests> $<TARGET_FILE:quorvel> $<TARGET_FILE:standin>
                    $<TARGET_FILE:exit_code_muxer>)
  foreach(tool ${TOOL_TARGETS})
    list(APPEND LANE_PROGRAMS $<TARGET_FILE:${tool}>)
  endforeach()
  set(LANE_COMMANDS)
  foreach(lane 1 2)
    list(APPEND LANE_COMMANDS COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/lane${lane}
         COMMAND ${CMAKE_COMMAND} -E copy_if_different ${LANE_PROGRAMS} ${CMAKE_BINARY_DIR}/lane${lane})
  endforeach()
  add_custom_target(gui_lanes ALL ${LANE_COMMANDS} VERBATIM)
  add_dependencies(gui_lanes quorvel_gui_tests)
  set(GUI_SUITES)
  foreach(source ${GUI_TEST_SOURCES})
    file(STRINGS ${source} declarations REGEX "^TEST(_F|_P)?\\([A-Za-z0-9_]+,")
    foreach(declaration ${declarations})
      string(REGEX REPLACE "^TEST(_F|_P)?\\(([A-Za-z0-9_]+),.*" "\\2" suite "${declaration}")
      if(NOT declaration MATCHES "DISABLED_")
        list(APPEND GUI_SUITES ${suite})
      endif()
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES GUI_SUITES)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${GUI_TEST_SOURCES})
  # The suites that take longest begin first: seconds, as measured.
  set(GUI_SUITE_COSTS BatchSteering 24 BatchWalkthrough 17 EndToEndTest 15 ProgramJournal 14
                      WindowEventsTest 12 PathsThroughTheBatch 11 JobCommandsTest 8 MainWindowTest 7)
  set(IN_LANE ${CMAKE_SOURCE_DIR}/scripts/in_lane.sh ${CMAKE_BINARY_DIR})
  foreach(suite ${GUI_SUITES})
    add_test(NAME ${suite} COMMAND ${IN_LANE} --gtest_filter=${suite}.*)
    list(FIND GUI_SUITE_COSTS ${suite} at)
    set(cost 1)
    if(at GREATER -1)
      math(EXPR at "${at} + 1")
      list(GET GUI_SUITE_COSTS ${at} cost)
    endif()
    set_tests_properties(${suite} PROPERTIES TIMEOUT 600 RESOURCE_GROUPS lanes:1 COST ${cost})
  endforeach()
  # Make BAT, Start and the wrapper scripts once more on a system whose ANSI
  # and OEM code pages are UTF-8: Wine takes them from the locale.
  add_test(NAME Utf8System.PathsThroughTheBatch
           COMMAND ${IN_LANE}
                   --gtest_filter=PathsThroughTheBatch.MakeBat*:PathsThroughTheBatch.Start*:PathsThroughTheBatch.Wrapper*)
  set_tests_properties(Utf8System.PathsThroughTheBatch PROPERTIES
                       ENVIRONMENT "LC_ALL=hi_IN.UTF-8;LOCPATH=${CMAKE_BINARY_DIR}/locale"
                       TIMEOUT 600 RESOURCE_GROUPS lanes:1 COST 6)
endif()

# The release package: the program, its helper programs and a short guide.
set(PACKAGE_DIR ${CMAKE_BINARY_DIR}/package/quorvel)
set(PACKAGE_ZIP ${CMAKE_BINARY_DIR}/../quorvel-win64.zip)
set(PACKAGE_FILES $<TARGET_FILE:quorvel>)
foreach(tool ${TOOL_TARGETS})
  list(APPEND PACKAGE_FILES $<TARGET_FILE:${tool}>)
endforeach()
add_custom_target(package_zip
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/package
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PACKAGE_DIR}/tools
  COMMAND ${CMAKE_COMMAND} -E copy ${PACKAGE_FILES} ${PACKAGE_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/resources/README-windows.txt
          ${PACKAGE_DIR}/README.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/resources/tools-folder.txt
          ${PACKAGE_DIR}/tools/README.txt
  COMMAND ${CMAKE_COMMAND} -E rm -f ${PACKAGE_ZIP}
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/package
          ${CMAKE_COMMAND} -E tar cf ${PACKAGE_ZIP} --format=zip quorvel
  COMMAND ${CMAKE_COMMAND} -E echo "Package: ${PACKAGE_ZIP}"
  DEPENDS quorvel ${TOOL_TARGETS}
  VERBATIM)

# The start-up benchmark (make bench-gui): quorvel.exe against the floor its
# window sets. Not part of the tests.
set(FLOOR_RESOURCE ${CMAKE_BINARY_DIR}/generated/floor.rc)
file(WRITE ${FLOOR_RESOURCE}
     "#include <windows.h>\n1 RT_MANIFEST \"${CMAKE_SOURCE_DIR}/resources/quorvel.manifest\"\n")
add_executable(floorwin WIN32 tests/bench/win32/floor_window.cpp ${FLOOR_RESOURCE})
target_include_directories(floorwin PRIVATE ${CMAKE_BINARY_DIR}/layers/ui_win32)
target_compile_definitions(floorwin PRIVATE ${WIN32_DEFINITIONS})
target_compile_options(floorwin PRIVATE ${WARNINGS})
target_link_libraries(floorwin PRIVATE ui_win32)
target_link_options(floorwin PRIVATE -municode)
add_executable(startup_bench tests/bench/win32/startup_bench.cpp)
target_compile_definitions(startup_bench PRIVATE ${WIN32_DEFINITIONS})
target_compile_options(startup_bench PRIVATE ${WARNINGS})
target_link_options(startup_bench PRIVATE -municode)
# Timings of the real window under load (make bench-gui), each printed on a
# "[ MEASURE  ]" line.
add_executable(quorvel_gui_bench tests/bench/win32/gui_bench.cpp tests/gui/gui_support.cpp
                                 ${RESOURCE_FILE})
target_compile_options(quorvel_gui_bench PRIVATE ${WARNINGS})
target_link_libraries(quorvel_gui_bench PRIVATE test_support app_win32 gmock_main)
add_custom_target(bench_gui DEPENDS quorvel floorwin startup_bench quorvel_gui_bench)
