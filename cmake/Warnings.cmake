# Strict warnings for the project's own targets only (Qt and system headers are included as SYSTEM).
# Warnings stay errors in our own builds (scripts/build.sh, .ci/run); a distribution that builds with
# its own compiler and flags gets them as warnings, so a new compiler's opinion does not stop it.
option(LARK_WERROR "Treat compiler warnings in the project's own code as errors" OFF)

function(lark_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(LARK_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
