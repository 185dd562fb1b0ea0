# `cmake --build build --target package` makes tolvan_<version>_amd64.deb: what `cmake --install`
# lays out, under /usr. The libraries come from the binaries (dpkg-shlibdeps); what Qt only
# loads at run time is named by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tolvan)
set(CPACK_PACKAGE_CONTACT "Tolvan maintainers <tolvan@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "service tool for ZX-VA wireless intercom handsets")
set(CPACK_PACKAGE_DESCRIPTION
    "Reads, edits, saves and writes back the settings, buffers and calibration values of\n"
    "ZX-VA100, ZX-VA150 and ZX-VA150(C) handsets over their USB serial link, runs their radio\n"
    "tests and registers them to a base system. Tolvan is the windowed tool, Vantor its\n"
    "launcher, tolvan-cli the same for scripts and tolvan-sim a virtual handset.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The desktop entries name their program by the prefix the install runs under, which must be
# /usr and not CPack's staging folder.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# IPAGothic stands in for the reports' and screens' Japanese face; qtbase_ja.qm puts Qt's own
# buttons and dialogs into Japanese.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, qt6-translations-l10n")
# The completion file is read by bash-completion's loader.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS bash-completion)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
