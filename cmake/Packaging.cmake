# `cpack -G DEB` in the build folder makes the Debian package. Libraries the programs link come
# from dpkg-shlibdeps; those loaded only at run time are named here, since no linker sees them.
set(CPACK_PACKAGE_NAME tavrell-veltrix)
set(CPACK_PACKAGE_VENDOR Tavrell)
set(CPACK_PACKAGE_CONTACT "Tavrell <veltrix@tavrell.net>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "video player built around subtitle files")
set(CPACK_PACKAGE_DESCRIPTION
  "Tavrell Veltrix plays a video through mpv or GStreamer and draws the text of a
separate subtitle file over the picture, in step with playback. It finds the
subtitle file that belongs to a video by itself, reads SubRip, MicroDVD and
timed text files in any common encoding, and shifts subtitles or corrects
their frame rate while you watch.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY tavrell-veltrix)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Directories the package creates get the usual modes, whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tavrell.net/veltrix")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libmpv is opened with dlopen, GStreamer finds its elements as plugins, Qt its xcb platform
# and JPEG reader as plugins, and the subtitles ask fontconfig for "Arial" and "Tahoma".
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libmpv2, qt6-qpa-plugins, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, \
gstreamer1.0-x, gstreamer1.0-gl, gstreamer1.0-libav, fonts-liberation, fonts-dejavu-core")
# The software OpenGL that draws mpv's picture where no graphics driver is installed.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

include(CPack)
