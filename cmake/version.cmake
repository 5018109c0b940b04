# The version is set once, by project() in the top-level CMakeLists.txt. This
# turns it into a header for the code and the Windows resources
# (addbar_version INTERFACE library); the packages take it from CPack, which
# reads the same project version.
if(NOT PROJECT_VERSION MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+$")
  message(FATAL_ERROR "addbar's version needs four numbers (a.b.c.d) for the Windows "
                      "version record; project() gives '${PROJECT_VERSION}'")
endif()
foreach(part MAJOR MINOR PATCH TWEAK)
  if(PROJECT_VERSION_${part} GREATER 65535)
    message(FATAL_ERROR "each number of the version must fit in 16 bits: ${PROJECT_VERSION}")
  endif()
endforeach()

set(ADDBAR_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/addbar_version.h.in
               ${ADDBAR_GENERATED_DIR}/addbar_version.h @ONLY)
add_library(addbar_version INTERFACE)
target_include_directories(addbar_version INTERFACE ${ADDBAR_GENERATED_DIR})
