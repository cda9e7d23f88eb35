# A normal Linux installation: programs in bin, read-only data in share/tuvo
# (where AppPaths looks when the program's own folder holds no data), the
# desktop entry, icons, AppStream metainfo and the man page. CPack makes a .deb.
include(GNUInstallDirs)

foreach(program tuvo tuvo-cli)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

set(TUVO_SHARE ${CMAKE_INSTALL_DATADIR}/tuvo)
install(DIRECTORY data/bk data/sy data/skin DESTINATION ${TUVO_SHARE})
install(FILES data/size.ini DESTINATION ${TUVO_SHARE})
# Documents the help menu opens (share/tuvo/doc).
install(DIRECTORY data/doc DESTINATION ${TUVO_SHARE})
if(EXISTS ${CMAKE_SOURCE_DIR}/data/使用必读.txt)
  install(FILES data/使用必读.txt DESTINATION ${TUVO_SHARE})
endif()

install(FILES packaging/tuvo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/io.github.tuvo.Tuvo.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 24 32 48 64 128 256)
  install(FILES packaging/icons/tuvo-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME tuvo.png)
endforeach()
install(FILES packaging/icons/tuvo.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES packaging/tuvo-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_PACKAGE_NAME tuvo)
set(CPACK_PACKAGE_VENDOR "The Tuvo developers")
set(CPACK_PACKAGE_CONTACT "The Tuvo developers <tuvo@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Batch picture processor: resize, frame, watermark, convert, PDF and FTP")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# Libraries from the binaries themselves; plugins and fonts that are loaded at run
# time are named by hand: the platform plugins, TIFF/WebP readers, CJK glyphs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-image-formats-plugins, fonts-noto-cjk")
# xdg-open shows folders, the link page and the read-me; the camera needs
# GStreamer's video4linux source when Qt Multimedia is built in.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
if(TARGET Qt6::Multimedia)
  string(APPEND CPACK_DEBIAN_PACKAGE_RECOMMENDS ", gstreamer1.0-plugins-good")
endif()
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libreoffice-writer, feh")
include(CPack)
