# Install rules (executable, desktop entry, icons, AppStream metainfo) and the
# Debian package that CPack builds from them.
include(GNUInstallDirs)

# One identifier names the desktop entry, the icon and the metainfo, so that
# software centres and menus tie them together.
set(FICHE_APP_ID fr.editions_orvandiere.FichesConversions)
target_compile_definitions(fiches-conversions PRIVATE FICHE_APP_ID="${FICHE_APP_ID}")

install(TARGETS fiches-conversions RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/${FICHE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/${FICHE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES data/icons/${FICHE_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
set(FICHE_ICON_SIZES 16 24 32 48 64 128 256)
foreach(size IN LISTS FICHE_ICON_SIZES)
  install(FILES data/icons/${size}x${size}/${FICHE_APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES data/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(FICHE_PACKAGE_MAINTAINER "Editions ORVANDIERE <contact@editions-orvandiere.fr>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME fiches-conversions)
set(CPACK_PACKAGE_VENDOR "Editions ORVANDIERE")
set(CPACK_PACKAGE_CONTACT "${FICHE_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "worksheets of metric unit-conversion exercises (French)")
# The long description only: CPack puts the summary on the first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Fiches de conversions writes worksheets of metric unit-conversion exercises
for school pupils, in French: lengths, areas, volumes, capacities and masses,
with a decimal point or a decimal comma. Each
worksheet is a subject and its answer key, which the teacher can retouch,
print, preview and save as RTF files.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${FICHE_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# dpkg-shlibdeps turns the libraries the executable links (Qt 6, the C++
# runtime) into versioned dependencies; the fonts are added by hand: the pages
# lay out as tested only with the metric twins of Arial, Times and Courier;
# and Qt's French translations, without which its dialogs speak English.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2 | fonts-liberation, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
include(CPack)
