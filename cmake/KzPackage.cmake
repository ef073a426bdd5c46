# The Debian package of the studio: what `cmake --install` puts under the prefix, packed by
# CPack (scripts/package builds it from the optimised build with the prefix /usr).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kzpstudio)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tarvex")
set(CPACK_PACKAGE_CONTACT "Tarvex Template Studio <studio@tarvex.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor for the template packs of the Tarvex web mail")
set(CPACK_PACKAGE_DESCRIPTION
    "Tarvex Template Studio opens a .kzp template pack, lists its HTML and CSS templates and
its files, edits a template with syntax highlighting and a completion list of template
variables, shows the reference pages of the variables, adds, imports and deletes files and
writes every change straight back into the pack. The interface is German.
The package also brings the kzp command-line tool.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # kzpstudio_VERSION_amd64.deb
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
# Staged with DESTDIR, so the install step leaves the desktop's caches alone: the system's
# own triggers register the menu entry, the icons and the MIME type when dpkg unpacks them.
set(CPACK_SET_DESTDIR ON)

# The libraries the programs link come from dpkg-shlibdeps; what they load or use without
# linking is named here: chmlib for the help (opened with dlopen), the fonts the stored layout
# names, and Qt's German translations of its own buttons.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libchm1, fonts-liberation, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "desktop-file-utils, shared-mime-info, hicolor-icon-theme")

include(CPack)
