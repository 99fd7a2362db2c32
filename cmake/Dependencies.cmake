# Every library the project links comes from Debian's -dev packages (see
# scripts/debian-packages.txt); nothing is downloaded at configure time.
# Each is an imported target named PkgConfig::<NAME> (or GIF::GIF).

find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)

find_package(Qt6 REQUIRED COMPONENTS Core)
if(NOT VISTREL_ENGINE_ONLY)
  find_package(Qt6 REQUIRED COMPONENTS Gui Widgets Network PrintSupport Test)
endif()

pkg_check_modules(JPEG REQUIRED IMPORTED_TARGET libjpeg)
pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng)
pkg_check_modules(TIFF REQUIRED IMPORTED_TARGET libtiff-4)
pkg_check_modules(WEBP REQUIRED IMPORTED_TARGET libwebp)
pkg_check_modules(STB REQUIRED IMPORTED_TARGET stb)
pkg_check_modules(LIBRAW REQUIRED IMPORTED_TARGET libraw_r)
pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
pkg_check_modules(CURL REQUIRED IMPORTED_TARGET libcurl)
pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET libzip)
pkg_check_modules(LIBSECRET REQUIRED IMPORTED_TARGET libsecret-1)
pkg_check_modules(BOTAN REQUIRED IMPORTED_TARGET botan-2)
pkg_check_modules(GCRYPT REQUIRED IMPORTED_TARGET libgcrypt)
find_package(GIF REQUIRED)

if(VISTREL_BUILD_TESTS)
  find_package(GTest REQUIRED)
endif()
if(VISTREL_BUILD_BENCH)
  find_package(benchmark REQUIRED)
endif()
