# FreeType and fontconfig for the text services of platform/fonts/. Their
# headers are private to the platform library, so no other layer can include them.
find_package(PkgConfig REQUIRED)
pkg_check_modules(MOORGLEN_FREETYPE REQUIRED IMPORTED_TARGET GLOBAL freetype2)
pkg_check_modules(MOORGLEN_FONTCONFIG REQUIRED IMPORTED_TARGET GLOBAL fontconfig)

target_link_libraries(tandry_platform PRIVATE PkgConfig::MOORGLEN_FREETYPE PkgConfig::MOORGLEN_FONTCONFIG)
