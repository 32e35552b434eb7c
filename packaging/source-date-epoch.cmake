# SOURCE_DATE_EPOCH, the time every time stamp of a release is set to, so
# that one commit gives the same bytes whenever it is packaged: one given in
# the environment, else the last commit's time, else (outside a Git
# checkout) the time of the file that holds the version.
#
# cpack reads this file before it packages (CPACK_PROJECT_CONFIG_FILE), and
# every time stamp in the .deb (its files, the archives inside it) follows.
# The Windows release asks for the same time as a script:
#   cmake -DCPACK_QI_SOURCE_DIR=<checkout> -P source-date-epoch.cmake
# prints it.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    execute_process(COMMAND git -C "${CPACK_QI_SOURCE_DIR}" log -1 --format=%ct
                    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE failed ERROR_QUIET)
    if(failed OR NOT epoch MATCHES "^[0-9]+$")
        file(TIMESTAMP "${CPACK_QI_SOURCE_DIR}/CMakeLists.txt" epoch "%s" UTC)
    endif()
    set(ENV{SOURCE_DATE_EPOCH} "${epoch}")
endif()
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    execute_process(COMMAND ${CMAKE_COMMAND} -E echo "$ENV{SOURCE_DATE_EPOCH}")
endif()
