# The installed system, by Debian's conventions (GNUInstallDirs):
#
#   bin/halyx-jobnotes, bin/halyx-print                      the programs
#   lib/halyx-jobnotes/HalyxJobNotes.plugin/                 the plug-in bundle
#   <cups-config --serverbin>/filter/HalyxCupsFilter         the print server's filter
#   share/ppd/halyx/*.ppd                                    the example PPDs (CUPS's driver lists)
#   share/man/man1, man8                                     the manual pages, compressed
#   share/applications/halyx-print.desktop                   the print dialog's menu entry
#   share/doc/halyx-jobnotes/                                copyright and changelog
#
# and the Debian package made of it by `cpack -G DEB` in a Release build. The version comes from
# project() in the top-level CMakeLists.txt and nowhere else.

install(FILES ${PROJECT_SOURCE_DIR}/examples/HalyxSample.ppd
              ${PROJECT_SOURCE_DIR}/examples/HalyxWorkgroup.ppd
        DESTINATION ${CMAKE_INSTALL_DATADIR}/ppd/halyx)

# Manual pages and the changelog are compressed as Debian wants them (gzip -9n: no name, no time,
# so that two builds give the same bytes).
set(HALYX_MAN_PAGES packaging/halyx-jobnotes.1 packaging/halyx-print.1 packaging/HalyxCupsFilter.8)
set(compressed)
foreach(page IN LISTS HALYX_MAN_PAGES)
    if(NOT EXISTS ${PROJECT_SOURCE_DIR}/${page})
        continue()
    endif()
    get_filename_component(name ${page} NAME)
    string(REGEX REPLACE ".*\\.([0-9])$" "\\1" section ${name})
    set(output ${PROJECT_BINARY_DIR}/packaging/${name}.gz)
    add_custom_command(OUTPUT ${output}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
                       COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/${page} > ${output}
                       DEPENDS ${PROJECT_SOURCE_DIR}/${page} VERBATIM)
    list(APPEND compressed ${output})
    install(FILES ${output} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in ${PROJECT_BINARY_DIR}/packaging/changelog
               @ONLY)
set(changelog ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${changelog}
                   COMMAND gzip -9n -c ${PROJECT_BINARY_DIR}/packaging/changelog > ${changelog}
                   DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog VERBATIM)
add_custom_target(halyx_packaging_files ALL DEPENDS ${compressed} ${changelog})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${changelog}
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/halyx-jobnotes)
if(TARGET halyx-print)
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/halyx-print.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
endif()

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME halyx-jobnotes)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Halyx Job Notes developers")
set(CPACK_PACKAGE_CONTACT "Halyx Job Notes developers <maintainers@halyx.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "job notes pane and print filter for Halyx print servers")
set(CPACK_PACKAGE_DESCRIPTION
    "Adds a Halyx Job Notes pane to the print dialog for printers served by a Halyx
print server: notes, instructions, passwords and numeric values are typed and
checked key by key against the rules of the printer's PPD file, and reach the
printer as PostScript comments and feature code.
.
The package holds halyx-jobnotes (checks PPD files, shows their model and
prints with notes), halyx-print (a GTK print dialog with the pane), the
plug-in bundle, the CUPS filter HalyxCupsFilter and example PPD files.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "cups-daemon, cups-filters")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
