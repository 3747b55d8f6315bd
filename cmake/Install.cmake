# What `cmake --install` lays out: the program, its skin, and what a Linux desktop needs to
# show it in its menus and software centres.
include(GNUInstallDirs)

set(BREMO_HOMEPAGE_URL "https://github.com/bremo/bremo" CACHE STRING
    "The project's web page, named by the package and the AppStream metadata")
set(BREMO_SCREENSHOT_URL "https://raw.githubusercontent.com/bremo/bremo/main/docs/screenshot.png"
    CACHE STRING "Where software centres fetch the picture of the window (docs/screenshot.png)")

# The program looks for skinh.she in its own folder. On Windows that folder is bin/, as
# usual there. Elsewhere a bin/ full of skins would be wrong, so the binary and its skin
# share a private folder and bin/bremo is a symbolic link to the binary: Qt resolves the
# link when it works out the program folder (on Linux through /proc/self/exe; the install
# check starts a probe through such a link). The private folder is lib/bremo rather than libexec/bremo because it is the
# program's home, data beside it included, not a helper that other programs start; Debian
# keeps such folders in /usr/lib/<package>.
if(WIN32)
    set(BREMO_PROGRAM_DIR ${CMAKE_INSTALL_BINDIR})
else()
    set(BREMO_PROGRAM_DIR ${CMAKE_INSTALL_LIBDIR}/bremo)
endif()

# Bremo ships no shared libraries of its own, so the installed binary needs no search path;
# the one qt_standard_project_setup() gives it ($ORIGIN/../lib) would lead from lib/bremo/
# into the system's library folder.
set_target_properties(bremo bremo_window bremo_player_module bremo_picture bremo_net_module
    bremo_session_module bremo_keyring_module PROPERTIES INSTALL_RPATH "")
install(TARGETS bremo RUNTIME DESTINATION ${BREMO_PROGRAM_DIR} COMPONENT bremo)
# The window, loaded from the program folder when a window opens.
install(TARGETS bremo_window LIBRARY DESTINATION ${BREMO_PROGRAM_DIR}/window COMPONENT bremo)
# The clip player, loaded from the program folder by the window at its first clip.
install(TARGETS bremo_player_module LIBRARY DESTINATION ${BREMO_PROGRAM_DIR}/player
    COMPONENT bremo)
# Qt Network, loaded from the program folder at the first request.
install(TARGETS bremo_net_module LIBRARY DESTINATION ${BREMO_PROGRAM_DIR}/net COMPONENT bremo)
# D-Bus, loaded from the program folder for a request that a window serves.
install(TARGETS bremo_session_module LIBRARY DESTINATION ${BREMO_PROGRAM_DIR}/session
    COMPONENT bremo)
# The keyring, loaded from the program folder at the first key read or written.
install(TARGETS bremo_keyring_module LIBRARY DESTINATION ${BREMO_PROGRAM_DIR}/settings
    COMPONENT bremo)
# Text recognition, loaded from the program folder by --image.
install(TARGETS bremo_picture LIBRARY DESTINATION ${BREMO_PROGRAM_DIR}/ocr COMPONENT bremo)
install(FILES assets/skinh.she DESTINATION ${BREMO_PROGRAM_DIR} COMPONENT bremo)

if(NOT WIN32)
    # A relative link, so that a staged tree (DESTDIR, CPack) or a moved one still works.
    file(RELATIVE_PATH bremo_link_target
        ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR}/bremo/bremo)
    file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/install-link)
    file(CREATE_LINK ${bremo_link_target} ${CMAKE_CURRENT_BINARY_DIR}/install-link/bremo SYMBOLIC)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/install-link/bremo
        DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT bremo)

    foreach(size 16 24 32 48)
        install(FILES assets/icons/bremo-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME bremo.png COMPONENT bremo)
    endforeach()
    # Named bremo.desktop because the program calls itself "bremo" to the desktop
    # (setDesktopFileName), which is how Wayland finds the entry and its icon.
    install(FILES assets/bremo.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT bremo)
    configure_file(assets/io.github.bremo.Bremo.metainfo.xml.in
        ${CMAKE_CURRENT_BINARY_DIR}/io.github.bremo.Bremo.metainfo.xml @ONLY)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/io.github.bremo.Bremo.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT bremo)

    # The manual page and the changelog compressed as Debian wants them: gzip -9 without a
    # name or time stamp, so that a rebuild gives the same bytes.
    find_program(BREMO_GZIP gzip REQUIRED)
    set(bremo_compressed)
    foreach(document man/bremo.1 packaging/changelog)
        get_filename_component(name ${document} NAME)
        set(compressed ${CMAKE_CURRENT_BINARY_DIR}/compressed/${name}.gz)
        add_custom_command(OUTPUT ${compressed}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/compressed
            COMMAND ${BREMO_GZIP} -9 -n -c ${PROJECT_SOURCE_DIR}/${document} > ${compressed}
            DEPENDS ${PROJECT_SOURCE_DIR}/${document})
        list(APPEND bremo_compressed ${compressed})
    endforeach()
    add_custom_target(bremo_documents ALL DEPENDS ${bremo_compressed})
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/compressed/bremo.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT bremo)
    # Debian's place, /usr/share/doc/<package>, whatever the project is called.
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/compressed/changelog.gz packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/bremo COMPONENT bremo)
endif()
