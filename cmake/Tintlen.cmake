# Every area of src/ is one static library of the sources in its folder
# (and of the subfolders named as PARTS, where an area shows its halves);
# its tests are one executable under tests/ with the same relative path.

function(tintlen_sources out dir)
  file(GLOB found CONFIGURE_DEPENDS
       "${dir}/*.cpp" "${dir}/*.h" "${dir}/*.ui" "${dir}/*.qrc")
  set(${out} ${found} PARENT_SCOPE)
endfunction()

function(tintlen_add_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;PARTS" ${ARGN})
  tintlen_sources(srcs "${CMAKE_CURRENT_SOURCE_DIR}")
  foreach(part ${ARG_PARTS})
    tintlen_sources(part_srcs "${CMAKE_CURRENT_SOURCE_DIR}/${part}")
    list(APPEND srcs ${part_srcs})
  endforeach()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC "${CMAKE_SOURCE_DIR}/src")
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# Widget tests run on Qt's offscreen platform; the shared test main sets it.
function(tintlen_add_test name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  tintlen_sources(srcs "${CMAKE_CURRENT_SOURCE_DIR}")
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE test_support ${ARG_DEPS})
  gtest_discover_tests(${name}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60
    DISCOVERY_MODE PRE_TEST)
endfunction()
