# Common warning set for the project's own targets; FS_WERROR (on in the Makefile's builds)
# makes any of them fail the build.
option(FS_WERROR "Treat compiler warnings as errors" OFF)
function(fs_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic $<$<CXX_COMPILER_ID:GNU>:-Wshadow=local>
        -Wnon-virtual-dtor -Woverloaded-virtual -Wno-missing-field-initializers
        $<$<BOOL:${FS_WERROR}>:-Werror>)
endfunction()

# fs_library(name SOURCES ... [QT] DEPS ...): one library target per source folder.
function(fs_library name)
    cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
    add_library(${name} STATIC ${A_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${A_DEPS})
    fs_warnings(${name})
    fs_record_library(${name})
endfunction()
