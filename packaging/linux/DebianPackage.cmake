# The Debian package of what the install rules put in place (`cpack -G DEB` in the build
# folder). Its dependencies are read from the programs by dpkg-shlibdeps; xdg-utils opens the
# tray folder in the file manager.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${PQ_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# A reserved domain that no one can register: no mail reaches a stranger.
set(CPACK_PACKAGE_CONTACT "Pellwick and Quistel developers <developers@pellwick-quistel.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tray calendar (Pellwick) and text encrypter (Quistel)")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
if(PQ_PROJECT_URL)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PQ_PROJECT_URL})
endif()
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS xdg-utils)
# The calendar is laid out for the metrics of "Times New Roman", which Liberation Serif shares.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Pellwick lives in the notification area: its icon shows today's day of the
month. It writes the date into the title bar of the focused window, keeps
a small reminders window and shows a month calendar.
.
Quistel encrypts a text with a password and keeps it in numbered files. It
is a screen against casual eyes, not protection from a determined attacker.")
include(CPack)
