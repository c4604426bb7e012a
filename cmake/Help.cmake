# The user guide: HTML pages in help/, compiled into help.chm beside velmora.exe (F1 opens it there, and the
# disc wizard copies it). chmcmd (Debian's fp-utils) reads the files a project names relative to the project,
# so the pages are compiled in a copy inside the build folder.
find_program(CHMCMD chmcmd REQUIRED)
file(GLOB VELMORA_HELP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/help/*)
set(VELMORA_HELP_WORK ${CMAKE_BINARY_DIR}/help)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/help.chm
                   COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/help ${VELMORA_HELP_WORK}
                   COMMAND ${CMAKE_COMMAND} -E chdir ${VELMORA_HELP_WORK} ${CHMCMD} --verbosity 1 velmora.hhp
                   COMMAND ${CMAKE_COMMAND} -E copy ${VELMORA_HELP_WORK}/help.chm ${CMAKE_BINARY_DIR}/help.chm
                   DEPENDS ${VELMORA_HELP_SOURCES}
                   COMMENT "Compiling help.chm")
add_custom_target(velmora_help ALL DEPENDS ${CMAKE_BINARY_DIR}/help.chm)
