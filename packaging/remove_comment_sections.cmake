# Install step of the Linux build: when the installed programs are stripped
# (as CPack does), their .comment section goes too, as in Debian's packages.
# ADDBAR_OBJCOPY and ADDBAR_STRIPPED_PROGRAMS (paths below the prefix) are set
# by the install rules.
if(CMAKE_INSTALL_DO_STRIP)
  foreach(program ${ADDBAR_STRIPPED_PROGRAMS})
    execute_process(COMMAND "${ADDBAR_OBJCOPY}" --remove-section=.comment
                            "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${program}"
                    COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
endif()
