# Warnings for every target; CI (or -DBILLIARDS_WERROR=ON) turns them into errors.
option(BILLIARDS_WERROR "Treat warnings as errors" OFF)
if(DEFINED ENV{CI} AND NOT "$ENV{CI}" STREQUAL "" AND NOT "$ENV{CI}" STREQUAL "false")
  set(BILLIARDS_WERROR ON CACHE BOOL "Treat warnings as errors" FORCE)
endif()

add_compile_options(-Wall -Wextra)
if(BILLIARDS_WERROR)
  add_compile_options(-Werror)
endif()

# Every client simulates every shot and the results must agree to the bit:
# never let the compiler fuse a*b+c into one rounding.
add_compile_options(-ffp-contract=off)
