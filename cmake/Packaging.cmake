# A Debian package of what cmake/Install.cmake installs: `cpack` in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VENDOR "Quorvel developers")
set(CPACK_PACKAGE_CONTACT "Quorvel developers <support@quorvel.example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://quorvel.example.org/)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "shows what an audio or video file contains")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Quorvel tells you what is inside a media file: load a file, or drop it on the window, and it "
    "shows what FFmpeg finds in it, the container, duration, bit rate and tags, and each video, "
    "audio and subtitle stream with its codec and properties.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
# dpkg-shlibdeps finds the libraries (Qt's among them); the probe tool is a program it cannot see.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS ffmpeg)

# The package runs Debian's ffmpeg, whichever ffmpeg this build found.
set(CPACK_QUORVEL_TOOL_LINK ${QUORVEL_TOOL_DIR}/clientinfo)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebianToolLink.cmake)

include(CPack)
