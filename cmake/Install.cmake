# Installing: the usual layout under the prefix, and a Debian package made by CPack.
# The program finds its shared files in ../share/zorvane from its bin folder, so these two
# folders are fixed whatever GNUInstallDirs would say.
set(ZORVANE_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(ZORVANE_APP_ID net.zorvane.zorvane)

install(TARGETS zorvane-cli RUNTIME DESTINATION bin)
if(TARGET zorvane)
    install(TARGETS zorvane RUNTIME DESTINATION bin)
endif()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data ${CMAKE_SOURCE_DIR}/lang ${CMAKE_SOURCE_DIR}/profiles
    DESTINATION share/zorvane)
install(FILES ${ZORVANE_PACKAGING_DIR}/${ZORVANE_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${ZORVANE_PACKAGING_DIR}/${ZORVANE_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${ZORVANE_PACKAGING_DIR}/icons/${ZORVANE_APP_ID}.svg
    DESTINATION share/icons/hicolor/scalable/apps)
foreach(size 48 128 256)
    install(FILES ${ZORVANE_PACKAGING_DIR}/icons/${ZORVANE_APP_ID}-${size}.png
        DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME ${ZORVANE_APP_ID}.png)
endforeach()

# Manual pages and the changelog are installed compressed, as Debian's policy asks.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
set(ZORVANE_COMPRESSED)
foreach(page zorvane-cli.1 zorvane.1 changelog)
    set(compressed ${CMAKE_BINARY_DIR}/${page}.gz)
    add_custom_command(OUTPUT ${compressed}
        COMMAND ${GZIP_EXECUTABLE} -9 -n -c ${ZORVANE_PACKAGING_DIR}/${page} > ${compressed}
        DEPENDS ${ZORVANE_PACKAGING_DIR}/${page}
        COMMENT "Compressing ${page}")
    list(APPEND ZORVANE_COMPRESSED ${compressed})
endforeach()
add_custom_target(zorvane_man_page ALL DEPENDS ${ZORVANE_COMPRESSED})
install(FILES ${CMAKE_BINARY_DIR}/zorvane-cli.1.gz DESTINATION share/man/man1)
if(TARGET zorvane)
    install(FILES ${CMAKE_BINARY_DIR}/zorvane.1.gz DESTINATION share/man/man1)
endif()
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION share/doc/zorvane)

# The copyright file in the machine-readable form, pointing to the system's copy of the licence.
install(FILES ${ZORVANE_PACKAGING_DIR}/copyright DESTINATION share/doc/zorvane)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorvane)
set(CPACK_PACKAGE_VENDOR "Ostrel Software")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "video converter for Flash Video and other media files")
# Lines of at most 80 columns in the package's control file.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Zorvane builds a list of media files, shows each file's technical\n"
    "properties, and converts the checked files to AVI or MPEG with the FFmpeg\n"
    "encoder: video, audio and picture-filter settings kept in profiles,\n"
    "several files at once with progress and abort, an error log, and scripts\n"
    "of the work. zorvane-cli does the same from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Ostrel Software <zorvane@zorvane.net>")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.zorvane.net/")
# Libraries linked directly are found by dpkg-shlibdeps; the encoder is run as a program, the
# MediaInfo library and Qt's platform plugins are loaded at run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "ffmpeg, libmediainfo0v5, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "desktop-file-utils, hicolor-icon-theme, qt6-translations-l10n, qt6-wayland")
include(CPack)
