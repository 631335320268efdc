# Run by CPack on the staged files before it packs them (CPACK_PRE_BUILD_SCRIPTS): the installed
# tool link points at the ffmpeg the build found, the package's at Debian's.
set(link "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/${CPACK_QUORVEL_TOOL_LINK}")
if(NOT IS_SYMLINK "${link}")
    message(FATAL_ERROR "The staged files have no tool link at ${link}")
endif()
file(REMOVE "${link}")
file(CREATE_LINK /usr/bin/ffmpeg "${link}" SYMBOLIC)
