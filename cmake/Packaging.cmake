# Installation as a Linux program, and the Debian package made from it with
# `cpack -G DEB` in a build folder (orvane_<version>-<release>_amd64.deb):
#
#   /usr/lib/orvane/               the program folder: orvane, orvane-cli,
#                                  liborlink.so, vxlfrm.dat and the manual
#                                  (docs/ installs it into ORVANE_PROGRAM_DIR);
#                                  the programs find it through /proc/self/exe
#   /usr/bin/orvane, orvane-cli    relative links into the program folder
#   /usr/share/orvane/             demo-network.ldf
#   /usr/lib/udev/rules.d/         70-orvane.rules (access to the analyzer)
#   /usr/share/applications/, icons/hicolor/scalable/apps/, metainfo/
#                                  desktop entry, icon, AppStream data
#   /usr/share/man/man1/           orvane.1.gz, orvane-cli.1.gz
#   /usr/share/doc/orvane/         copyright, changelog.Debian.gz
#
# The installed program folder belongs to root; the programs then write
# their own files into the user's data folder (app/DataFolder.h).

set(ORVANE_PROGRAM_DIR lib/orvane)
set(ORVANE_APPSTREAM_ID org.orvane.orvane)
set(ORVANE_PACKAGE_MAINTAINER "Orvane maintainers <maintainers@orvane.example>"
    CACHE STRING "Maintainer named in the Debian package and its changelog")

set(orvane_dist ${PROJECT_SOURCE_DIR}/dist)
# Files made only for installing: configured, gzipped or linked.
set(orvane_staging ${CMAKE_BINARY_DIR}/dist)

# Directories 0755 whatever the umask of the build (files are 0644 anyway).
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The desktop entry as installed: the program and its icon by name.
function(orvane_configure_installed_files)
  set(ORVANE_DESKTOP_EXEC orvane)
  set(ORVANE_DESKTOP_ICON orvane)
  configure_file(${PROJECT_SOURCE_DIR}/app/ui/resources/orvane.desktop.in
                 ${orvane_staging}/orvane.desktop @ONLY)
  configure_file(${orvane_dist}/${ORVANE_APPSTREAM_ID}.metainfo.xml.in
                 ${orvane_staging}/${ORVANE_APPSTREAM_ID}.metainfo.xml @ONLY)
  configure_file(${orvane_dist}/changelog.in ${orvane_staging}/changelog.Debian @ONLY)
endfunction()
orvane_configure_installed_files()

# Man pages and the changelog gzipped as Debian wants them: best compression,
# no name or time stamp inside.
set(orvane_gzipped)
foreach(source ${orvane_dist}/orvane.1 ${orvane_dist}/orvane-cli.1
               ${orvane_staging}/changelog.Debian)
  get_filename_component(name ${source} NAME)
  set(copy ${orvane_staging}/gz/${name})
  add_custom_command(
    OUTPUT ${copy}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
    COMMAND gzip -9nf ${copy}
    DEPENDS ${source}
    COMMENT "Compressing ${name}"
    VERBATIM)
  list(APPEND orvane_gzipped ${copy}.gz)
endforeach()
add_custom_target(package-files ALL DEPENDS ${orvane_gzipped})

# /usr/bin/<program> -> ../lib/orvane/<program>
file(MAKE_DIRECTORY ${orvane_staging}/links)
foreach(program orvane orvane-cli)
  file(CREATE_LINK ../${ORVANE_PROGRAM_DIR}/${program} ${orvane_staging}/links/${program}
       SYMBOLIC)
endforeach()

install(PROGRAMS ${orvane_staging}/links/orvane-cli DESTINATION bin)
install(FILES ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/vxlfrm.dat DESTINATION ${ORVANE_PROGRAM_DIR})
install(FILES emulator/demo-network.ldf DESTINATION share/orvane)
install(FILES dist/70-orvane.rules DESTINATION lib/udev/rules.d)
install(FILES ${orvane_staging}/gz/orvane-cli.1.gz DESTINATION share/man/man1)
install(FILES dist/copyright ${orvane_staging}/gz/changelog.Debian.gz DESTINATION share/doc/orvane)

# The programs' own rules wait until every folder has defined its targets.
function(orvane_install_programs)
  install(TARGETS orvane-cli RUNTIME DESTINATION ${ORVANE_PROGRAM_DIR})
  # Loaded with dlopen from the program folder, never linked against: a
  # plain 0644 file there.
  install(TARGETS orlink LIBRARY DESTINATION ${ORVANE_PROGRAM_DIR}
          PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  if(TARGET orvane)
    install(TARGETS orvane RUNTIME DESTINATION ${ORVANE_PROGRAM_DIR})
    install(PROGRAMS ${orvane_staging}/links/orvane DESTINATION bin)
    install(FILES ${orvane_staging}/orvane.desktop DESTINATION share/applications)
    install(FILES app/ui/resources/orvane.svg DESTINATION share/icons/hicolor/scalable/apps)
    install(FILES ${orvane_staging}/${ORVANE_APPSTREAM_ID}.metainfo.xml DESTINATION share/metainfo)
    install(FILES ${orvane_staging}/gz/orvane.1.gz DESTINATION share/man/man1)
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL orvane_install_programs)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvane)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "LIN bus analyzer")
# The summary comes first; CPack indents these lines and marks the blank one.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[Orvane works with a small USB analyzer on a vehicle's LIN bus. It monitors
every frame, error, sleep/wake-up and I/O event with millisecond time
stamps, logs it, decodes it into named signals from a LIN description file,
measures baud rate and bus load, and makes the analyzer act as a simulated
master or as simulated slaves.

The package holds the desktop program orvane, the headless orvane-cli and
the link library. A built-in virtual analyzer models the unit and a demo
LIN network, so everything runs without hardware.]=])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ORVANE_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# liborlink.so is the package's own: should a program link against it,
# dpkg-shlibdeps finds it in the build's program folder instead of asking for
# a package that provides it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
# The rules file needs udev to give users access to the analyzer.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS udev)
# Our own maintainer scripts apply the rules file to an attached analyzer;
# they also keep CPack from adding ldconfig calls, which a library in a
# private folder does not need.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${orvane_dist}/postinst ${orvane_dist}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
