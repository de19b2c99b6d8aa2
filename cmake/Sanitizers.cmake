# LARK_SANITIZE=address,undefined or thread instruments every target of this project.
if(LARK_SANITIZE)
  set(_san_flags "-fsanitize=${LARK_SANITIZE}" -fno-omit-frame-pointer -g)
  if(LARK_SANITIZE MATCHES "undefined")
    list(APPEND _san_flags -fno-sanitize-recover=undefined)
  endif()
  add_compile_options(${_san_flags})
  add_link_options("-fsanitize=${LARK_SANITIZE}")
endif()
