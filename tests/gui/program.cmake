# The programs' resources and their windows at 96 and 144 dots per inch:
# DpiTest.cpp, with the program's resources, run by run_dpi.py in a prefix
# of its own per resolution.
add_executable(vek-dpi-tests ${CMAKE_CURRENT_SOURCE_DIR}/DpiTest.cpp ${CMAKE_SOURCE_DIR}/src/resources/vek.rc)
target_link_libraries(vek-dpi-tests PRIVATE vekui gtest_main version)
target_include_directories(vek-dpi-tests PRIVATE ${CMAKE_SOURCE_DIR}/src/resources)
# It reads the version resources of the two programs beside it.
add_dependencies(vek-dpi-tests vek vek-cli)
foreach(dpi 96 144)
  math(EXPR offset "20 + ${dpi} / 144")
  add_test(NAME gui-dpi-${dpi}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/run_dpi.py --dpi ${dpi}
            --build ${CMAKE_BINARY_DIR} --display-offset ${offset})
  set_tests_properties(gui-dpi-${dpi} PROPERTIES LABELS "gui" TIMEOUT 300 RESOURCE_LOCK vek-programs)
endforeach()

# Two packings of the same commit give the same zip; it links the two
# programs again, so nothing else may use them meanwhile.
add_test(NAME dist-same-bytes COMMAND bash ${CMAKE_SOURCE_DIR}/tests/dist/same_bytes.sh ${CMAKE_BINARY_DIR})
set_tests_properties(dist-same-bytes PROPERTIES TIMEOUT 300 RESOURCE_LOCK "vek-wineprefix;vek-programs")
