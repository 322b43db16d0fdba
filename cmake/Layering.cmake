# Every library target records itself; once all are defined, fs_write_layering_manifest writes
# one line per target (name, folder under src/, declared dependencies, sources) to
# layering-manifest.txt in the build folder. scripts/check-layering.py reads it to check that
# each Qt-free target compiles with only its dependencies' headers reachable.
function(fs_record_library name)
    set_property(GLOBAL APPEND PROPERTY FS_LIBRARIES ${name})
endfunction()

function(fs_write_layering_manifest)
    get_property(libraries GLOBAL PROPERTY FS_LIBRARIES)
    set(lines "")
    foreach(lib ${libraries})
        get_target_property(dir ${lib} SOURCE_DIR)
        get_target_property(deps ${lib} LINK_LIBRARIES)
        get_target_property(sources ${lib} SOURCES)
        if(NOT deps)
            set(deps "")
        endif()
        file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR}/src ${dir})
        list(JOIN deps " " deps)
        list(JOIN sources " " sources)
        string(APPEND lines "${lib}|${folder}|${deps}|${sources}\n")
    endforeach()
    file(WRITE ${PROJECT_BINARY_DIR}/layering-manifest.txt "${lines}")
endfunction()
