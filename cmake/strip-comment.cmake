# Run by CPack (CPACK_PRE_BUILD_SCRIPTS) once the packages' files are staged: each program
# under usr/bin loses its .comment section, as Debian's own strip leaves it.
if(NOT CPACK_QUORVEX_OBJCOPY)
  message(FATAL_ERROR "No objcopy to take the .comment section out of the programs")
endif()
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(file ${staged})
  if(file MATCHES "/usr/bin/[^/]+$" AND NOT IS_SYMLINK "${file}")
    execute_process(COMMAND ${CPACK_QUORVEX_OBJCOPY} --remove-section=.comment "${file}"
                    RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "objcopy could not take .comment out of ${file}")
    endif()
  endif()
endforeach()
