# The image codec libraries: libpng, libjpeg and zlib for the image files of
# resources/images/, OpenJPEG for the JPEG 2000 stand-in in platform/j2k/. OpenJPEG's
# headers are private to the platform library, so no other layer can include them.
find_package(PkgConfig REQUIRED)
pkg_check_modules(MOORGLEN_PNG REQUIRED IMPORTED_TARGET GLOBAL libpng)
pkg_check_modules(MOORGLEN_JPEG REQUIRED IMPORTED_TARGET GLOBAL libjpeg)
pkg_check_modules(MOORGLEN_ZLIB REQUIRED IMPORTED_TARGET GLOBAL zlib)
pkg_check_modules(MOORGLEN_OPENJP2 REQUIRED IMPORTED_TARGET GLOBAL libopenjp2)

target_link_libraries(tandry_platform PRIVATE PkgConfig::MOORGLEN_OPENJP2)
target_link_libraries(tandry_resources PUBLIC
  PkgConfig::MOORGLEN_PNG PkgConfig::MOORGLEN_JPEG PkgConfig::MOORGLEN_ZLIB)
