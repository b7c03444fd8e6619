# What a release carries, packed by CPack: the Windows zip from the 32-bit
# cross build, the Debian package of tellu-cli from a native build.  Times
# and modes in the archives are fixed (SOURCE_DATE_EPOCH, set by ./run
# package from the last commit; cmake/package_files.cmake).
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tellu authors")
set(CPACK_STRIP_FILES OFF)
set(CPACK_SET_DESTDIR OFF)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/package_files.cmake)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
set(plain OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
set(program OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(pkg ${PROJECT_SOURCE_DIR}/pkg)

if(WIN32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(arch x86)
  else()
    set(arch x64)
  endif()
  # Notepad reads a UTF-8 file with a byte-order mark on every Windows.
  configure_file(${pkg}/windows/README.txt ${CMAKE_BINARY_DIR}/pkg/README.txt @ONLY
                 NEWLINE_STYLE CRLF)
  install(TARGETS tellu RUNTIME DESTINATION . PERMISSIONS ${program})
  install(FILES ${PROJECT_SOURCE_DIR}/res/help/tellu.html ${CMAKE_BINARY_DIR}/pkg/README.txt
                ${PROJECT_SOURCE_DIR}/LICENSE ${pkg}/windows/TELLU.INI.sample
          DESTINATION . PERMISSIONS ${plain})
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME tellu-${PROJECT_VERSION}-windows-${arch})
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
  find_program(TELLU_GZIP gzip REQUIRED)
  set(man_page ${PROJECT_SOURCE_DIR}/doc/tellu-cli.1)
  # Debian's layout: compressed man page and changelog, without a name or a
  # time in the gzip header.
  foreach(pair "${man_page}|tellu-cli.1.gz" "${pkg}/debian/changelog|changelog.gz")
    string(REPLACE "|" ";" pair "${pair}")
    list(GET pair 0 from)
    list(GET pair 1 to)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/pkg/${to}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/pkg
      COMMAND ${TELLU_GZIP} -9 -n -c ${from} > ${CMAKE_BINARY_DIR}/pkg/${to}
      DEPENDS ${from} VERBATIM)
    list(APPEND compressed ${CMAKE_BINARY_DIR}/pkg/${to})
  endforeach()
  add_custom_target(package_docs ALL DEPENDS ${compressed})
  install(TARGETS tellu-cli RUNTIME DESTINATION bin PERMISSIONS ${program})
  install(FILES ${CMAKE_BINARY_DIR}/pkg/tellu-cli.1.gz DESTINATION share/man/man1
          PERMISSIONS ${plain})
  install(FILES ${PROJECT_SOURCE_DIR}/res/help/tellu.html ${pkg}/debian/copyright
                ${CMAKE_BINARY_DIR}/pkg/changelog.gz
          DESTINATION share/doc/tellu-cli PERMISSIONS ${plain})
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_PACKAGE_NAME tellu-cli)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_SECTION net)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Tellu authors <tellu@example.org>")
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "console companion for the RV/K3 avatar chat client")
  # The summary above is the first line; this is the text under it.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "tellu-cli runs beside RV/K3 (for example under Wine) and relays its
traffic to the chat server: it patches the host's configuration file,
launches the host, keeps a chat log, lists the people around, answers
whispers and exchanges avatar files with other Tellu users. Chat scrolls
by in the terminal and a line typed at the bottom is said in the room.")
endif()
include(CPack)
