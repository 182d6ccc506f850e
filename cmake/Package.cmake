# The Debian package: `cpack -G DEB` in the build folder makes
# velkaris_<version>_amd64.deb with its dependencies found by dpkg-shlibdeps.
# The install rules of the programs, the shared files, the desktop entry and
# the icons are in app/CMakeLists.txt; here are those only a package needs.
include(GNUInstallDirs)

# Man pages and the Debian changelog, compressed as Debian wants them
# (gzip -n: no name or time inside, so two builds give the same bytes).
find_program(VK_GZIP gzip)
set(_vk_gz_dir ${CMAKE_BINARY_DIR}/package)
set(_vk_gz_files)
foreach(_src resources/man/velkaris.1 resources/man/velkaris-cli.1 resources/debian/changelog)
  get_filename_component(_name ${_src} NAME)
  set(_out ${_vk_gz_dir}/${_name}.gz)
  add_custom_command(OUTPUT ${_out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_vk_gz_dir}
    COMMAND ${VK_GZIP} -9nc ${CMAKE_SOURCE_DIR}/${_src} > ${_out}
    DEPENDS ${CMAKE_SOURCE_DIR}/${_src} VERBATIM)
  list(APPEND _vk_gz_files ${_out})
endforeach()
add_custom_target(vk_package_files ALL DEPENDS ${_vk_gz_files})
install(FILES ${_vk_gz_dir}/velkaris.1.gz ${_vk_gz_dir}/velkaris-cli.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_vk_gz_dir}/changelog.gz ${CMAKE_SOURCE_DIR}/resources/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velkaris)
install(FILES ${CMAKE_SOURCE_DIR}/resources/org.velkaris.Velkaris.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velkaris)
set(CPACK_PACKAGE_VENDOR "The Velkaris developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "audio player that lights a piano keyboard with the pitches sounding")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Velkaris plays WAV, MP3, FLAC, Ogg Vorbis, Opus, M4A, AIFF, WavPack, APE and
WMA files from a playlist. Its picture is a piano keyboard whose keys light up
with the pitches sounding, beside a spectrum graph, level meters and karaoke
lyrics. It offers A-B repeat, speed change with or without pitch change, pitch
shift, tone control, vocal cancelling, chorus, delay and reverb.

The package holds the desktop program velkaris and velkaris-cli, the same
player without a window for scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # velkaris_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Velkaris developers <packages@velkaris.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://velkaris.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The text face the picture and the list are drawn with.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
