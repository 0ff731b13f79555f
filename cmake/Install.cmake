# cmake --install: the two programs in bin/, the read-only resources in
# share/tamber/res (an installed program keeps its own writes in the user's
# configuration folder, see shell/RunFolder.h), the desktop entry and icon, and
# tamber-cli's manual page and bash completion, made from its --help.
include(GNUInstallDirs)

set(TAMBER_DOCS_DIR ${CMAKE_BINARY_DIR}/cli-docs)
add_custom_command(OUTPUT ${TAMBER_DOCS_DIR}/tamber-cli.1 ${TAMBER_DOCS_DIR}/tamber-cli
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TAMBER_DOCS_DIR}
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/cli-docs man $<TARGET_FILE:tamber-cli> ${TAMBER_DOCS_DIR}/tamber-cli.1
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/cli-docs completion $<TARGET_FILE:tamber-cli> ${TAMBER_DOCS_DIR}/tamber-cli
  DEPENDS tamber-cli ${PROJECT_SOURCE_DIR}/scripts/cli-docs
  COMMENT "Writing tamber-cli's manual page and bash completion")
add_custom_target(cli_docs ALL DEPENDS ${TAMBER_DOCS_DIR}/tamber-cli.1 ${TAMBER_DOCS_DIR}/tamber-cli)

install(TARGETS tamber tamber-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# What the program writes into its run folder (preferences, the log, temporaries) is
# not part of the installation.
install(DIRECTORY ${TAMBER_RES_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/tamber/res
  PATTERN prefs.txt EXCLUDE PATTERN ".*" EXCLUDE)
install(FILES ${PROJECT_SOURCE_DIR}/res/tamber.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TAMBER_ICON} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps)
install(FILES ${TAMBER_DOCS_DIR}/tamber-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${TAMBER_DOCS_DIR}/tamber-cli DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
