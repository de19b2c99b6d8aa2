# Strict warnings for the project's own targets only (Qt and system headers are included as SYSTEM).
function(lark_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
endfunction()
