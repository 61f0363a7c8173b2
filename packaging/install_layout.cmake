# Run by `cmake --install` (and by CPack): places this installation's pieces
# for the prefix being installed to, which may differ from the configured
# one (`cmake --install --prefix`), and writes the files that name them.
#
# Set by the install rule that includes this script:
#   PELLORY_STEP           files | catalogue
#   PELLORY_BINDIR, PELLORY_DATADIR, PELLORY_LOCALSTATEDIR, PELLORY_ENGINE_DIR
#                          the GNU install directories (relative to the prefix, or absolute)
#   PELLORY_APP_ID         the desktop entry's name
#   PELLORY_VERSION        the project's version
#   PELLORY_SETTLE_SECONDS how long the user's font folders must rest before the
#                          user unit builds the user's catalogue
#   PELLORY_TEMPLATES      the folder of the *.in files
#   PELLORY_SCRATCH        a folder of the build tree to write them into first

function(pellory_under_prefix out dir)
  if(IS_ABSOLUTE "${dir}")
    set(${out} "${dir}" PARENT_SCOPE)
  else()
    set(${out} "${CMAKE_INSTALL_PREFIX}/${dir}" PARENT_SCOPE)
  endif()
endfunction()

# Variable data lies where the GNU install directories put it: /var for the
# system's own prefixes, /var/opt/... for one under /opt, else below the prefix.
function(pellory_state_dir out)
  if(IS_ABSOLUTE "${PELLORY_LOCALSTATEDIR}")
    set(dir "${PELLORY_LOCALSTATEDIR}")
  elseif(CMAKE_INSTALL_PREFIX MATCHES "^/(usr/?)?$")
    set(dir "/${PELLORY_LOCALSTATEDIR}")
  elseif(CMAKE_INSTALL_PREFIX MATCHES "^/opt/(.*)")
    set(dir "/${PELLORY_LOCALSTATEDIR}/opt/${CMAKE_MATCH_1}")
  else()
    set(dir "${CMAKE_INSTALL_PREFIX}/${PELLORY_LOCALSTATEDIR}")
  endif()
  set(${out} "${dir}" PARENT_SCOPE)
endfunction()

# systemd's user units: where the systemd of the system's own prefixes looks,
# else below the prefix's data directory, where it looks for ~/.local and
# the system's data directories.
function(pellory_user_unit_dir out)
  if(CMAKE_INSTALL_PREFIX MATCHES "^/usr(/local)?/?$")
    set(dir "${CMAKE_INSTALL_PREFIX}/lib/systemd/user")
  else()
    pellory_under_prefix(dir "${PELLORY_DATADIR}/systemd/user")
  endif()
  string(REPLACE "//" "/" dir "${dir}")
  set(${out} "${dir}" PARENT_SCOPE)
endfunction()

pellory_under_prefix(bin_dir "${PELLORY_BINDIR}")
pellory_under_prefix(data_dir "${PELLORY_DATADIR}/pellory")
pellory_under_prefix(engine_dir "${PELLORY_ENGINE_DIR}")
pellory_state_dir(state_dir)
set(catalogue_dir "${state_dir}/lib/pellory/catalogue")

if(PELLORY_STEP STREQUAL "files")
  file(RELATIVE_PATH PELLORY_ENGINE_DIR_FROM_CONFIG "${data_dir}" "${engine_dir}")
  file(RELATIVE_PATH PELLORY_CATALOGUE_FROM_CONFIG "${data_dir}" "${catalogue_dir}")
  file(RELATIVE_PATH PELLORY_CATALOGUE_FROM_BINDIR "${bin_dir}" "${catalogue_dir}")
  file(RELATIVE_PATH PELLORY_ENGINE_DIR_FROM_BINDIR "${bin_dir}" "${engine_dir}")
  set(PELLORY_CATALOGUE_SHOWN "${catalogue_dir}")
  set(PELLORY_PROGRAM "${bin_dir}/pellory")

  configure_file("${PELLORY_TEMPLATES}/engine.conf.in" "${PELLORY_SCRATCH}/engine.conf" @ONLY)
  configure_file("${PELLORY_TEMPLATES}/pellory-update-catalogue.in"
                 "${PELLORY_SCRATCH}/pellory-update-catalogue" @ONLY)
  configure_file("${PELLORY_TEMPLATES}/org.pellory.fonts.desktop.in"
                 "${PELLORY_SCRATCH}/${PELLORY_APP_ID}.desktop" @ONLY)
  file(INSTALL "${PELLORY_SCRATCH}/engine.conf" DESTINATION "${data_dir}")
  file(INSTALL "${PELLORY_SCRATCH}/pellory-update-catalogue" DESTINATION "${bin_dir}"
       FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                        WORLD_READ WORLD_EXECUTE)
  set(PELLORY_PROGRAM_DIR "${bin_dir}")
  pellory_user_unit_dir(unit_dir)
  foreach(unit pellory-update-catalogue.path pellory-update-catalogue.service)
    configure_file("${PELLORY_TEMPLATES}/systemd/${unit}.in" "${PELLORY_SCRATCH}/${unit}" @ONLY)
    file(INSTALL "${PELLORY_SCRATCH}/${unit}" DESTINATION "${unit_dir}")
  endforeach()
  pellory_under_prefix(applications_dir "${PELLORY_DATADIR}/applications")
  file(INSTALL "${PELLORY_SCRATCH}/${PELLORY_APP_ID}.desktop" DESTINATION "${applications_dir}")
elseif(PELLORY_STEP STREQUAL "catalogue")
  # Built with the tools just installed, so a staged installation
  # (DESTDIR) gets its own catalogue.
  set(update "$ENV{DESTDIR}${bin_dir}/pellory-update-catalogue")
  message(STATUS "Building the catalogue of this machine's fonts: $ENV{DESTDIR}${catalogue_dir}")
  execute_process(COMMAND "${update}" --quiet RESULT_VARIABLE status)
  # The lock the command holds while it builds, so that removing what the
  # installation wrote leaves nothing.
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${state_dir}/lib/pellory/.catalogue.lock")
  if(status EQUAL 0)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${catalogue_dir}/pelloryfont.DB"
         "${catalogue_dir}/pelloryfont.MB" "${catalogue_dir}/pelloryfont.faces")
  else()
    message(WARNING "The catalogue of this machine's fonts could not be built (${status}); "
                    "the program shows none until `${bin_dir}/pellory-update-catalogue` succeeds.")
  endif()
else()
  message(FATAL_ERROR "install_layout.cmake: unknown step '${PELLORY_STEP}'")
endif()
