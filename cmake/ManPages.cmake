# Manual pages, written in scdoc and turned into roff at build time.
#   lark_man_page(<name> <section>)   docs/man/<name>.<section>.scd -> share/man/man<section>/
option(LARK_MAN_PAGES "Build and install the manual pages (needs scdoc)" ON)
include(GNUInstallDirs)

if(LARK_MAN_PAGES)
  find_program(LARK_SCDOC scdoc)
  if(NOT LARK_SCDOC)
    message(FATAL_ERROR "scdoc makes the manual pages: apt-get install scdoc (or configure with -DLARK_MAN_PAGES=OFF)")
  endif()
  add_custom_target(man-pages ALL)
endif()

function(lark_man_page name section)
  if(NOT LARK_MAN_PAGES)
    return()
  endif()
  set(source ${PROJECT_SOURCE_DIR}/docs/man/${name}.${section}.scd)
  set(page ${PROJECT_BINARY_DIR}/man/${name}.${section})
  # scdoc reads standard input only (it dates the page from SOURCE_DATE_EPOCH when that is set).
  add_custom_command(OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND sh -c "\"$0\" < \"$1\" > \"$2\"" ${LARK_SCDOC} ${source} ${page}
    DEPENDS ${source}
    COMMENT "Manual page ${name}(${section})"
    VERBATIM)
  add_custom_target(man-${name} DEPENDS ${page})
  add_dependencies(man-pages man-${name})
  install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endfunction()
