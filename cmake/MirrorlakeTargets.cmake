# Helpers shared by the folder CMakeLists files. A library folder's sources are all its
# .cpp files, so adding a unit needs no build edit.

function(ml_add_library name folder)
  file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp ${folder}/*.qrc)
  ml_static_or_interface(${name} "${sources}" ${ARGN})
endfunction()

# A folder whose units are not written yet still yields a target, so that the layers above
# can name it.
function(ml_static_or_interface name sources)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARGN})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARGN})
  endif()
endfunction()

# One GoogleTest executable per folder under tests/, registered as one ctest test. Qt tests run
# on the offscreen platform so that no display is needed.
function(ml_add_test_folder folder)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.qrc)
  if(NOT sources)
    return()
  endif()
  set(exe test_${folder})
  add_executable(${exe} ${sources})
  target_link_libraries(${exe} PRIVATE mltestsupport ${ARGN} GTest::gtest_main GTest::gmock)
  add_test(NAME unit.${folder} COMMAND ${exe})
  set_tests_properties(unit.${folder} PROPERTIES LABELS unit
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;MIRRORLAKE_MESSAGES=stderr")
endfunction()
