# Read by cpack before it packages: every time stamp in the package (its
# files, the archives inside the .deb) is SOURCE_DATE_EPOCH, so that one
# commit gives the same bytes whenever it is packaged. A SOURCE_DATE_EPOCH in
# the environment is kept; else the last commit's time, or outside a Git
# checkout the time of the file that holds the version.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    execute_process(COMMAND git -C "${CPACK_QI_SOURCE_DIR}" log -1 --format=%ct
                    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE failed ERROR_QUIET)
    if(failed OR NOT epoch MATCHES "^[0-9]+$")
        file(TIMESTAMP "${CPACK_QI_SOURCE_DIR}/CMakeLists.txt" epoch "%s" UTC)
    endif()
    set(ENV{SOURCE_DATE_EPOCH} "${epoch}")
endif()
