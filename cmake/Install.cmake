# Installs the program with its tool link, in the layout the program expects, and what desktops
# need to list it in their menus with its icon.
install(TARGETS quorvel RUNTIME DESTINATION bin)
if(NOT WIN32)
    install(CODE "
        set(tool_dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${QUORVEL_TOOL_DIR}\")
        file(MAKE_DIRECTORY \"\${tool_dir}\")
        file(CREATE_LINK \"${QUORVEL_PROBE_TOOL}\" \"\${tool_dir}/clientinfo\" SYMBOLIC)
        # Listed in install_manifest.txt like the files that install() copies.
        list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${tool_dir}/clientinfo\")
        message(STATUS \"Installing: \${tool_dir}/clientinfo -> ${QUORVEL_PROBE_TOOL}\")
    ")

    install(FILES resources/org.example.Quorvel.desktop DESTINATION share/applications)
    install(FILES resources/org.example.Quorvel.metainfo.xml DESTINATION share/metainfo)
    install(DIRECTORY ${PROJECT_BINARY_DIR}/resources/hicolor DESTINATION share/icons)
    install(FILES resources/quorvel.svg DESTINATION share/icons/hicolor/scalable/apps
            RENAME org.example.Quorvel.svg)
    install(FILES LICENSE DESTINATION share/doc/quorvel RENAME copyright)
endif()
