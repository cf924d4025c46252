# Installing on a Linux desktop: the program, its menu entry and its icon,
# and a .deb made by CPack. Included from the top-level CMakeLists.txt.
# The icon comes from the same artwork as the Windows icon resource.
add_executable(icon_png ${CMAKE_CURRENT_LIST_DIR}/icon_png.cpp ${PROJECT_SOURCE_DIR}/resources/icon_art.cpp)
target_include_directories(icon_png PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(icon_png PRIVATE quadrafall_png)

set(QUADRAFALL_ICON_FILES)
foreach(size 16 32 48)
  set(icon ${CMAKE_BINARY_DIR}/icons/${size}x${size}/quadrafall.png)
  add_custom_command(OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
    COMMAND icon_png ${size} ${icon}
    DEPENDS icon_png
    COMMENT "Drawing the ${size}x${size} application icon")
  list(APPEND QUADRAFALL_ICON_FILES ${icon})
  install(FILES ${icon} DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(quadrafall_icons ALL DEPENDS ${QUADRAFALL_ICON_FILES})

install(FILES ${CMAKE_CURRENT_LIST_DIR}/quadrafall.desktop DESTINATION share/applications)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quadrafall)
set(CPACK_PACKAGE_VENDOR "Quadrafall")
set(CPACK_PACKAGE_CONTACT "Quadrafall developers <quadrafall@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "falling-blocks puzzle game with a Top Ten")
set(CPACK_PACKAGE_DESCRIPTION "Pieces of four cells fall into a well of ten by twenty cells; full rows\nare removed, the level rises with the lines cleared, and the best ten\nscores are kept in highscores.dat in the current directory.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps reads the libraries the program links (FLTK, X11, the C++
# runtime) and declares their packages.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)

if(QUADRAFALL_TESTS)
  add_test(NAME package_deb
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/check_deb.sh ${CMAKE_BINARY_DIR} ${CMAKE_CPACK_COMMAND})
  set_tests_properties(package_deb PROPERTIES LABELS "packaging" TIMEOUT 300)
endif()
