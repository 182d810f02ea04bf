# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `cpack -G DEB` in the build folder writes brindle_<version>_amd64.deb with
# everything the install rules put under /usr, the AppStream entry, the Debian copyright file and
# changelog, and a Depends line of the computed shared-library dependencies plus what the
# application loads by name at run time.

set(BRINDLE_RELEASE_DATE "2026-12-08" CACHE STRING "Date of this release (YYYY-MM-DD)")
# No address is published yet; ".invalid" (RFC 2606) can never reach anyone by mistake.
set(BRINDLE_MAINTAINER "Brindle contributors <maintainers@brindle.invalid>")

execute_process(COMMAND date -u -d "${BRINDLE_RELEASE_DATE} 00:00:00" -R
                OUTPUT_VARIABLE BRINDLE_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)

set(packagingOut ${CMAKE_BINARY_DIR}/packaging)
configure_file(${CMAKE_CURRENT_LIST_DIR}/brindle.metainfo.xml ${packagingOut}/brindle.metainfo.xml
               @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${packagingOut}/changelog @ONLY)
# Debian wants the changelog compressed without a name or time stamp in the gzip header.
execute_process(COMMAND gzip -9nf ${packagingOut}/changelog COMMAND_ERROR_IS_FATAL ANY)

install(FILES ${packagingOut}/brindle.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${packagingOut}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/brindle)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brindle)
set(CPACK_PACKAGE_VENDOR "Brindle contributors")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${BRINDLE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "vocabulary studio for Mandarin Chinese and Japanese\n\
Brindle runs entirely on your own computer: no account, no network, no\n\
cloud. Study short sessions of typed-recall cards scheduled by an adaptive\n\
spaced-repetition model, search an offline dictionary built from CC-CEDICT\n\
and JMdict/EDICT while you type, follow your progress, hear words read aloud\n\
by a system voice, and keep your progress in one JSON file that you can back\n\
up and restore.")
# Loaded by name at run time, so the shared-library scan cannot see them: the QML modules the
# screens import (the file dialogs among them), speech, the CJK font and the X cursor library the
# X11 window system plugin (which comes with libqt6gui6) opens for the desktop's cursor theme;
# tests/package/check-package.sh holds the list to what a run on an X display loads.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qml6-module-qtquick, qml6-module-qtquick-controls, \
qml6-module-qtquick-templates, qml6-module-qtquick-layouts, qml6-module-qtquick-window, \
qml6-module-qtqml-workerscript, qml6-module-qt-labs-platform, qt6-speech-speechd-plugin, \
speech-dispatcher, speech-dispatcher-espeak-ng, fonts-noto-cjk, libxcursor1")
# Wayland sessions, and the GNOME desktop's own file dialogs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-gtk-platformtheme")

include(CPack)
