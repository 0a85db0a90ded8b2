# Native tree: core/ only, tested under AddressSanitizer and UBSan.
set(MORVELIN_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(-Wall -Wextra -Wpedantic -Werror=return-type)

set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_subdirectory(core)
add_subdirectory(tests/core)
add_subdirectory(tests/core/fuzz)
