# The Windows edition: a window program (no console), the same identifier as
# on Linux, the icon in the executable, and the DLLs it needs beside it at
# installation (scripts/windows/build makes the zip and the installer).
set(FICHE_APP_ID fr.editions_orvandiere.FichesConversions)
target_compile_definitions(fiches-conversions PRIVATE FICHE_APP_ID="${FICHE_APP_ID}")
set_target_properties(fiches-conversions PROPERTIES WIN32_EXECUTABLE ON)
set(FICHE_ICO ${PROJECT_SOURCE_DIR}/data/icons/fiches-conversions.ico)
configure_file(cmake/fiches-conversions.rc.in fiches-conversions.rc @ONLY)
target_sources(fiches-conversions PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/fiches-conversions.rc)
