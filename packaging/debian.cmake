# The Debian package: what `make package` builds with CPack.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pellory)
set(CPACK_PACKAGE_VENDOR "Pellory Fonts")
set(CPACK_PACKAGE_CONTACT "${PELLORY_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "look through a catalogue of fonts")
# The long description as dpkg shows it, "." standing for an empty line.
set(CPACK_PACKAGE_DESCRIPTION
    "Pellory Fonts shows a catalogue of fonts one record at a time: the font's
name, its file, a sample picture of its letters and a description, with a
record navigator and buttons that narrow the catalogue to one category. A
grid shows every font of the catalogue beside its sample, and a list the
fonts installed on the machine, each drawn in its own typeface.
.
The package builds the catalogue of the machine's fonts when it is installed
and again whenever fonts are installed or removed.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PELLORY_WEBSITE}")
# The libraries the programs link, as dpkg-shlibdeps finds them; besides
# them, the faces the windows are laid out in (DejaVu Sans, Liberation Serif
# and Sans), which the catalogue builder also draws samples with.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# deb-systemd-helper and deb-systemd-invoke with --user enable the user
# unit in the maintainer scripts.
set(deb_depends fonts-dejavu-core fonts-liberation "init-system-helpers (>= 1.61~)")
if(TARGET pellory_help)
  # The help viewer, and the database driver through which Qt reads the
  # help collection.
  list(APPEND deb_depends assistant-qt6 libqt6sql6-sqlite)
endif()
list(JOIN deb_depends ", " CPACK_DEBIAN_PACKAGE_DEPENDS)

# The copyright in Debian's machine-readable format, with every
# installation; the package's changelog, compressed as Debian keeps it, and
# its lintian overrides only in the package (a component cmake --install
# leaves out unless named).
set(PELLORY_DOC_DIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/pellory")
install(FILES debian/copyright DESTINATION "${PELLORY_DOC_DIR}" COMPONENT program)
set(deb_changelog "${CMAKE_CURRENT_BINARY_DIR}/debian/changelog.Debian")
add_custom_command(OUTPUT "${deb_changelog}.gz"
                   COMMAND ${CMAKE_COMMAND} -E copy "${CMAKE_CURRENT_SOURCE_DIR}/debian/changelog"
                           "${deb_changelog}"
                   COMMAND "${PELLORY_GZIP}" -9nf "${deb_changelog}"
                   DEPENDS debian/changelog
                   VERBATIM)
add_custom_target(pellory_debian_changelog ALL DEPENDS "${deb_changelog}.gz")
install(FILES "${deb_changelog}.gz" DESTINATION "${PELLORY_DOC_DIR}" COMPONENT debian
        EXCLUDE_FROM_ALL)
# The lintian tags the package carries on purpose, each with the reason.
install(FILES debian/lintian-overrides DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides"
        RENAME pellory COMPONENT debian EXCLUDE_FROM_ALL)

# The catalogue is the machine's own: the maintainer scripts build it on the
# machine installed to, instead of the package carrying the build machine's.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
# Every component installed so far (this file is read after the whole tree)
# but the catalogue.
get_cmake_property(CPACK_COMPONENTS_ALL COMPONENTS)
list(REMOVE_ITEM CPACK_COMPONENTS_ALL catalogue)

if(IS_ABSOLUTE "${CMAKE_INSTALL_BINDIR}")
  set(PELLORY_DEB_BINDIR "${CMAKE_INSTALL_BINDIR}")
else()
  set(PELLORY_DEB_BINDIR "${CPACK_PACKAGING_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}")
endif()
if(IS_ABSOLUTE "${CMAKE_INSTALL_LOCALSTATEDIR}")
  set(PELLORY_DEB_STATEDIR "${CMAKE_INSTALL_LOCALSTATEDIR}/lib/pellory")
else()
  set(PELLORY_DEB_STATEDIR "/${CMAKE_INSTALL_LOCALSTATEDIR}/lib/pellory")
endif()
foreach(script postinst prerm postrm)
  configure_file(debian/${script}.in "${CMAKE_CURRENT_BINARY_DIR}/debian/${script}" @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                  WORLD_READ WORLD_EXECUTE)
endforeach()
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    "${CMAKE_CURRENT_BINARY_DIR}/debian/postinst" "${CMAKE_CURRENT_BINARY_DIR}/debian/prerm"
    "${CMAKE_CURRENT_BINARY_DIR}/debian/postrm" "${CMAKE_CURRENT_SOURCE_DIR}/debian/triggers")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
