# Installing on a Linux desktop as Debian places a game: the program and the
# menu's launcher in games/, the desktop entry and its AppStream metadata,
# the icons, the manual page, the copyright and the changelog; and the .deb
# CPack makes of them. Included from the top-level CMakeLists.txt.
set(QUADRAFALL_APP_ID io.github.quadrafall.quadrafall)
set(LINUX_DIR ${CMAKE_CURRENT_LIST_DIR}/linux)
set(LINUX_BUILD_DIR ${CMAKE_BINARY_DIR}/linux)
# Directories made by the install are 0755 whatever the umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The dates a player reads (the release, the manual page, the changelog) are
# those of SOURCE_DATE_EPOCH when it is set, so a release is the same bytes
# every time it is made.
string(TIMESTAMP QUADRAFALL_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP QUADRAFALL_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)

# The icon comes from the same artwork as the Windows icon resource; the
# sizes above 48 are the 32-pixel artwork scaled by whole numbers.
add_executable(icon_png ${CMAKE_CURRENT_LIST_DIR}/icon_png.cpp ${PROJECT_SOURCE_DIR}/resources/icon_art.cpp)
target_include_directories(icon_png PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(icon_png PRIVATE quadrafall_png)

set(QUADRAFALL_ICON_FILES)
foreach(size 16 32 48 64 128 256)
  set(icon ${CMAKE_BINARY_DIR}/icons/${size}x${size}/quadrafall.png)
  add_custom_command(OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
    COMMAND icon_png ${size} ${icon}
    DEPENDS icon_png
    COMMENT "Drawing the ${size}x${size} application icon")
  list(APPEND QUADRAFALL_ICON_FILES ${icon})
  install(FILES ${icon} DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()

# The manual page and the changelog, compressed as Debian wants them: gzip
# -9n keeps no name and no time inside.
file(STRINGS ${LINUX_DIR}/changelog.in newest_entry LIMIT_COUNT 1)
if(NOT newest_entry MATCHES "^quadrafall \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/linux/changelog.in has no entry for version ${PROJECT_VERSION} at the top")
endif()
configure_file(${LINUX_DIR}/quadrafall.6.in ${LINUX_BUILD_DIR}/quadrafall.6 @ONLY)
configure_file(${LINUX_DIR}/changelog.in ${LINUX_BUILD_DIR}/changelog @ONLY)
set(QUADRAFALL_GZIPPED_FILES)
foreach(name quadrafall.6 changelog)
  add_custom_command(OUTPUT ${LINUX_BUILD_DIR}/${name}.gz
    COMMAND gzip -9nkf ${LINUX_BUILD_DIR}/${name}
    DEPENDS ${LINUX_BUILD_DIR}/${name}
    COMMENT "Compressing ${name}")
  list(APPEND QUADRAFALL_GZIPPED_FILES ${LINUX_BUILD_DIR}/${name}.gz)
endforeach()
add_custom_target(quadrafall_desktop_files ALL DEPENDS ${QUADRAFALL_ICON_FILES} ${QUADRAFALL_GZIPPED_FILES})
# The launcher has its place in the manual page of the game.
file(CREATE_LINK quadrafall.6.gz ${LINUX_BUILD_DIR}/quadrafall-launcher.6.gz SYMBOLIC)
install(FILES ${LINUX_BUILD_DIR}/quadrafall.6.gz ${LINUX_BUILD_DIR}/quadrafall-launcher.6.gz DESTINATION share/man/man6)
install(FILES ${LINUX_DIR}/copyright ${LINUX_BUILD_DIR}/changelog.gz DESTINATION share/doc/quadrafall)

install(PROGRAMS ${LINUX_DIR}/quadrafall-launcher DESTINATION games)
install(FILES ${LINUX_DIR}/${QUADRAFALL_APP_ID}.desktop DESTINATION share/applications)
configure_file(${LINUX_DIR}/${QUADRAFALL_APP_ID}.metainfo.xml.in ${LINUX_BUILD_DIR}/${QUADRAFALL_APP_ID}.metainfo.xml @ONLY)
install(FILES ${LINUX_BUILD_DIR}/${QUADRAFALL_APP_ID}.metainfo.xml DESTINATION share/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quadrafall)
set(CPACK_PACKAGE_VENDOR "The Quadrafall developers")
set(CPACK_PACKAGE_CONTACT "The Quadrafall developers <quadrafall@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "falling-blocks puzzle game with a Top Ten")
set(CPACK_PACKAGE_DESCRIPTION "Pieces of four cells fall into a well of ten by twenty cells; full rows\nare removed, the level rises with the lines cleared, and the best ten\nscores are kept with the names of their players. The menu entry keeps\nthem in ~/.local/share/quadrafall, the game started from a terminal in\nthe current directory.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps reads the libraries the program links (FLTK, X11, the C++
# runtime) and declares their packages.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)

if(QUADRAFALL_TESTS)
  add_test(NAME package_deb
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/check_deb.sh ${CMAKE_BINARY_DIR} ${CMAKE_CPACK_COMMAND} ${QUADRAFALL_APP_ID})
  set_tests_properties(package_deb PROPERTIES LABELS "packaging" TIMEOUT 300)
endif()
