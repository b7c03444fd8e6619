# Run by CPack on the staged files before they are packed: every file and
# folder gets the time of the release commit, so the archive does not record
# when it was built.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  message(FATAL_ERROR "SOURCE_DATE_EPOCH is not set (./run package sets it)")
endif()
file(GLOB_RECURSE staged LIST_DIRECTORIES true "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
execute_process(COMMAND touch -h -d "@$ENV{SOURCE_DATE_EPOCH}"
                        "${CPACK_TEMPORARY_INSTALL_DIRECTORY}" ${staged}
                COMMAND_ERROR_IS_FATAL ANY)
