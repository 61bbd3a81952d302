find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Widgets OpenGL OpenGLWidgets Network DBus Multimedia)
set(CMAKE_AUTOMOC OFF)

find_package(PkgConfig REQUIRED)
pkg_check_modules(ODE REQUIRED IMPORTED_TARGET ode)

find_package(Iconv REQUIRED)
find_package(Threads REQUIRED)

option(BILLIARDS_BUILD_TESTS "Build the tests" ON)
option(BILLIARDS_BUILD_BENCH "Build the benchmarks" ON)
option(BILLIARDS_BUILD_FUZZ "Build the libFuzzer targets (needs clang)" OFF)

if(BILLIARDS_BUILD_TESTS)
  find_package(GTest REQUIRED)
endif()
if(BILLIARDS_BUILD_BENCH)
  find_package(benchmark REQUIRED)
endif()
