# Installs the program with its tool link, in the layout the program expects.
install(TARGETS quorvel RUNTIME DESTINATION bin)
if(NOT WIN32)
    install(CODE "
        set(tool_dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${QUORVEL_TOOL_DIR}\")
        file(MAKE_DIRECTORY \"\${tool_dir}\")
        file(CREATE_LINK \"${QUORVEL_PROBE_TOOL}\" \"\${tool_dir}/clientinfo\" SYMBOLIC)
        message(STATUS \"Installing: \${tool_dir}/clientinfo -> ${QUORVEL_PROBE_TOOL}\")
    ")
endif()
