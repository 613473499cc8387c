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

# Manual pages are installed compressed, as Debian's policy asks.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
set(ZORVANE_MAN_PAGE ${CMAKE_BINARY_DIR}/zorvane-cli.1.gz)
add_custom_command(OUTPUT ${ZORVANE_MAN_PAGE}
    COMMAND ${GZIP_EXECUTABLE} -9 -n -c ${ZORVANE_PACKAGING_DIR}/zorvane-cli.1 > ${ZORVANE_MAN_PAGE}
    DEPENDS ${ZORVANE_PACKAGING_DIR}/zorvane-cli.1
    COMMENT "Compressing the manual page")
add_custom_target(zorvane_man_page ALL DEPENDS ${ZORVANE_MAN_PAGE})
install(FILES ${ZORVANE_MAN_PAGE} DESTINATION share/man/man1)

# The copyright file carries the licence in full.
file(READ ${CMAKE_SOURCE_DIR}/LICENSE ZORVANE_LICENSE_TEXT)
file(WRITE ${CMAKE_BINARY_DIR}/copyright
    "Zorvane ${PROJECT_VERSION}\n"
    "Copyright (C) Ostrel Software\n\n"
    "Zorvane is free software: you can redistribute it and/or modify it under the terms of the\n"
    "GNU General Public License as published by the Free Software Foundation, either version 3\n"
    "of the License, or (at your option) any later version.\n\n"
    "${ZORVANE_LICENSE_TEXT}")
install(FILES ${CMAKE_BINARY_DIR}/copyright DESTINATION share/doc/zorvane)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorvane)
set(CPACK_PACKAGE_VENDOR "Ostrel Software")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "video converter for Flash Video and other media files")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Zorvane builds a list of media files, shows each file's technical properties, and converts\n"
    "the checked files to AVI or MPEG with the FFmpeg encoder: video, audio and picture-filter\n"
    "settings kept in profiles, progress and abort, an error log, and scripts of the work.\n"
    "zorvane-cli does the same from the command line.")
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
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "desktop-file-utils, hicolor-icon-theme")
include(CPack)
