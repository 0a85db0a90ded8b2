# Cross tree: the program, its libraries and the tests that run under Wine.
add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN
                        _WIN32_WINNT=0x0A00 WINVER=0x0A00 STRICT)
add_compile_options(-Wall -Wextra -Werror=return-type -Wno-missing-field-initializers
                    -Wno-cast-function-type)
# Everything static: the program must need no DLL beyond Windows' own.
add_link_options(-static -static-libgcc -static-libstdc++)
# Sections aligned in the file as in memory: Wine then maps an image's pages
# straight from the file, where with the linker's 512-byte default it copies
# the whole image into private memory (384 KiB of the program's, measured),
# and it loads the sooner for it.
add_link_options(-Wl,--file-alignment=4096)

# ctest reaches Wine through this script; it knows the build's Wine state.
set(MORVELIN_WINE_STATE ${CMAKE_BINARY_DIR}/wine)
configure_file(${CMAKE_SOURCE_DIR}/tests/win/harness/wine-run.sh.in
               ${CMAKE_BINARY_DIR}/wine-run.sh @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)

set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_subdirectory(core)
add_subdirectory(framework)
add_subdirectory(resources)
add_subdirectory(monthgrid)
add_subdirectory(app)
add_subdirectory(monthview)
add_subdirectory(calendar)
add_subdirectory(parameters)
add_subdirectory(holidays)

add_executable(Morvelin WIN32 app/main.cpp)
target_link_libraries(Morvelin PRIVATE morvelin_application morvelin_resources)
# Release builds ship without the symbol table (a third of the file).
target_link_options(Morvelin PRIVATE -municode $<$<CONFIG:Release>:-s>)
set_target_properties(Morvelin PROPERTIES OUTPUT_NAME Morvelin RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

include(cmake/Packaging.cmake)

add_subdirectory(tests/win)
add_subdirectory(bench)
