# A normal Linux installation: programs in bin, read-only data in share/tuvo
# (where AppPaths looks when the program's own folder holds no data), the
# desktop entry, icons, AppStream metainfo, the man pages, shell completion and
# the documents. CPack makes two .debs: tuvo-cli (the batch engine without a
# window, for servers, clusters and containers) and tuvo (the desktop program,
# which depends on it).
include(GNUInstallDirs)

if(TARGET tuvo-cli)
  install(TARGETS tuvo-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT cli)
endif()
if(TARGET tuvo)
  install(TARGETS tuvo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT desktop)
endif()

set(TUVO_SHARE ${CMAKE_INSTALL_DATADIR}/tuvo)
install(DIRECTORY data/bk data/sy data/presets DESTINATION ${TUVO_SHARE} COMPONENT cli)
install(FILES data/size.ini DESTINATION ${TUVO_SHARE} COMPONENT cli)
install(DIRECTORY data/skin DESTINATION ${TUVO_SHARE} COMPONENT desktop)
# Documents the help menu opens (share/tuvo/doc).
install(DIRECTORY data/doc DESTINATION ${TUVO_SHARE} COMPONENT desktop)
if(EXISTS ${CMAKE_SOURCE_DIR}/data/使用必读.txt)
  install(FILES data/使用必读.txt DESTINATION ${TUVO_SHARE} COMPONENT desktop)
endif()

install(FILES packaging/tuvo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT desktop)
install(FILES packaging/io.github.tuvo.Tuvo.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        COMPONENT desktop)
foreach(size 16 24 32 48 64 128 256)
  install(FILES packaging/icons/tuvo-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME tuvo.png
          COMPONENT desktop)
endforeach()
install(FILES packaging/icons/tuvo.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        COMPONENT desktop)
# Each package has its own document folder with the copyright and changelog.
set(TUVO_DOC_CLI ${CMAKE_INSTALL_DATADIR}/doc/tuvo-cli)
set(TUVO_DOC_DESKTOP ${CMAKE_INSTALL_DATADIR}/doc/tuvo)
install(FILES packaging/copyright DESTINATION ${TUVO_DOC_DESKTOP} COMPONENT desktop)
install(FILES packaging/doc/release-notes.txt packaging/doc/reporting-bugs.txt packaging/copyright README.md
        DESTINATION ${TUVO_DOC_CLI} COMPONENT cli)
install(FILES examples/Containerfile examples/k8s-indexed-job.yaml examples/tuvo-watch@.service
        DESTINATION ${TUVO_DOC_CLI}/examples COMPONENT cli)
install(PROGRAMS examples/parallel.sh examples/slurm-array.sbatch
        DESTINATION ${TUVO_DOC_CLI}/examples COMPONENT cli)
install(FILES ${TUVO_GENERATED_COMPLETION_DIR}/bash/tuvo-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions COMPONENT cli)
install(FILES ${TUVO_GENERATED_COMPLETION_DIR}/zsh/_tuvo-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions COMPONENT cli)

# Man pages and the Debian changelog are installed gzip-compressed (-n: no name
# or time stamp, so the package is reproducible).
set(TUVO_GZ_DIR ${CMAKE_BINARY_DIR}/compressed)
set(tuvo_gz_files)
foreach(source packaging/tuvo.1 packaging/tuvo-cli.1 packaging/changelog.Debian
    packaging/zh_CN/tuvo.1 packaging/zh_CN/tuvo-cli.1)
  # The Chinese man pages keep their folder, so their names do not clash.
  string(REGEX REPLACE "^packaging/" "" name ${source})
  get_filename_component(sub ${name} DIRECTORY)
  # tuvo-cli's pages are written at build time from their templates, the
  # Chinese pages get their break points then.
  if(name MATCHES "tuvo-cli.1$" OR name STREQUAL "zh_CN/tuvo.1")
    set(input ${TUVO_GENERATED_MAN_DIR}/${name})
  else()
    set(input ${CMAKE_SOURCE_DIR}/${source})
  endif()
  add_custom_command(OUTPUT ${TUVO_GZ_DIR}/${name}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TUVO_GZ_DIR}/${sub}
    COMMAND sh -c "gzip -9n -c '${input}' > '${TUVO_GZ_DIR}/${name}.gz'"
    DEPENDS ${input} VERBATIM)
  list(APPEND tuvo_gz_files ${TUVO_GZ_DIR}/${name}.gz)
endforeach()
add_custom_target(tuvo-compressed-docs ALL DEPENDS ${tuvo_gz_files})
# The generated pages come from another folder's rule: Makefile generators only
# see it through the target.
add_dependencies(tuvo-compressed-docs tuvo-man-pages)
install(FILES ${TUVO_GZ_DIR}/tuvo-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT cli)
install(FILES ${TUVO_GZ_DIR}/zh_CN/tuvo-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/zh_CN/man1 COMPONENT cli)
install(FILES ${TUVO_GZ_DIR}/tuvo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT desktop)
install(FILES ${TUVO_GZ_DIR}/zh_CN/tuvo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/zh_CN/man1 COMPONENT desktop)
foreach(component cli desktop)
  if(component STREQUAL "cli")
    set(package tuvo-cli)
  else()
    set(package tuvo)
  endif()
  install(FILES ${TUVO_GZ_DIR}/changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package}
          COMPONENT ${component})
  # The overrides name their package and its changelog.
  file(READ ${CMAKE_SOURCE_DIR}/packaging/lintian-overrides overrides)
  string(REPLACE "tuvo" "${package}" overrides "${overrides}")
  file(WRITE ${CMAKE_BINARY_DIR}/lintian/${package} "${overrides}")
  install(FILES ${CMAKE_BINARY_DIR}/lintian/${package} DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
          COMPONENT ${component})
endforeach()

set(TUVO_PACKAGE_MAINTAINER "Tuvo developers <tuvo@users.noreply.github.com>"
    CACHE STRING "Maintainer field of the .deb: the project's address")
set(CPACK_PACKAGE_NAME tuvo)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL cli desktop)
set(CPACK_DEBIAN_CLI_PACKAGE_NAME tuvo-cli)
set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME tuvo)
set(CPACK_PACKAGE_VENDOR "The Tuvo developers")
set(CPACK_PACKAGE_CONTACT ${TUVO_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TUVO_PACKAGE_MAINTAINER})
# Each package's description: first line its synopsis, then the long text.
# CPACK_PACKAGE_DESCRIPTION_SUMMARY stays unset: CPack would put it in front of both.
file(READ ${CMAKE_SOURCE_DIR}/packaging/description.txt tuvo_description)
set(CPACK_COMPONENT_DESKTOP_DESCRIPTION
    "batch picture processor: resize, frame, watermark, convert, PDF and FTP\n${tuvo_description}")
file(READ ${CMAKE_SOURCE_DIR}/packaging/description-cli.txt tuvo_cli_description)
set(CPACK_COMPONENT_CLI_DESCRIPTION
    "batch picture processor for scripts and clusters (no window)\n${tuvo_cli_description}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/tuvo/tuvo")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Debug information stays out of the package.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Libraries come from the binaries themselves (dpkg-shlibdeps); what is loaded
# at run time is named by hand: Qt's TIFF/WebP readers and the CJK glyphs. The
# X11 platform plugin is part of libqt6gui6; Wayland needs qt6-wayland.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A cluster or container needs no fonts unless its watermarks carry Chinese text.
set(CPACK_DEBIAN_CLI_PACKAGE_DEPENDS "qt6-image-formats-plugins")
set(CPACK_DEBIAN_CLI_PACKAGE_RECOMMENDS "fonts-noto-cjk, fonts-hanazono")
set(CPACK_DEBIAN_CLI_PACKAGE_SUGGESTS "libreoffice-writer-nogui | libreoffice-writer, parallel")
set(CPACK_DEBIAN_DESKTOP_PACKAGE_DEPENDS
    "tuvo-cli (= ${PROJECT_VERSION}-1), qt6-image-formats-plugins, fonts-noto-cjk")
# xdg-open shows folders, the link page and the read-me; the camera needs
# GStreamer's video4linux source when Qt Multimedia is built in; HanaMin has the
# rare characters beyond Noto CJK (Extension B and later) for watermarks and PDFs.
set(CPACK_DEBIAN_DESKTOP_PACKAGE_RECOMMENDS "qt6-wayland, xdg-utils, fonts-hanazono")
if(TARGET Qt6::Multimedia)
  string(APPEND CPACK_DEBIAN_DESKTOP_PACKAGE_RECOMMENDS ", gstreamer1.0-plugins-good")
endif()
# .doc import converts through LibreOffice; feh sets the wallpaper outside GNOME and Xfce.
set(CPACK_DEBIAN_DESKTOP_PACKAGE_SUGGESTS "libreoffice-writer-nogui | libreoffice-writer, feh")
include(CPack)
