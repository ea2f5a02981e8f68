# Native build: portable code and its unit tests over in-memory fakes.
find_package(GTest REQUIRED)

file(GLOB_RECURSE FAKE_SOURCES CONFIGURE_DEPENDS tests/fakes/*.cpp)
add_library(quorvane_fakes STATIC ${FAKE_SOURCES})
target_include_directories(quorvane_fakes PUBLIC tests)
target_link_libraries(quorvane_fakes PUBLIC quorvane_portable)

file(GLOB_RECURSE UNIT_TEST_SOURCES CONFIGURE_DEPENDS tests/unit/*.cpp)
add_executable(unit_tests ${UNIT_TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE quorvane_fakes GTest::gtest GTest::gmock GTest::gtest_main)
add_test(NAME unit_tests COMMAND unit_tests --gtest_brief=1)
