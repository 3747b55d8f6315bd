# The Debian package: `cmake --build build --target package` writes
# build/bremo_<version>_<arch>.deb. It holds the "bremo" install component only, so that
# nothing else that may gain an install rule (tests, benchmarks, the XPButton demo) slips in.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME bremo)
set(CPACK_PACKAGE_VENDOR "Qirel")
set(CPACK_PACKAGE_CONTACT "Bremo maintainers <maintainers@users.noreply.c-seed-c11b5f3b.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "online translator for 57 languages (Bremo 多国语言在线互译工具)")
# Debian shows the long description as it is, so its lines are kept short here.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Bremo is a small desktop translator with a Simplified Chinese interface."
    "It translates the text you type or paste between 57 languages through"
    "Google Translate and, for short texts, plays a spoken rendering of the"
    "result, which can be saved as an MP3 file.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL bremo)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${BREMO_HOMEPAGE_URL})
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# The Qt and GStreamer libraries come from dpkg-shlibdeps; what the program only loads at run
# time is named here: the Qt platform plugins, the GStreamer elements that decode the
# player's MP3 clips and play them to the sound server (pulsesink), a font with the Chinese
# characters of the whole interface, the roots that HTTPS checks against, and libsecret,
# through which QtKeychain reaches the keyring.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, fonts-wqy-microhei, ca-certificates, libsecret-1-0")
# The offline engine that translates when no web road answers; its language pairs are the
# user's choice. A keyring keeps the user's keys; KDE brings its own. The offline voice
# speaks when the speech hosts do not. The models that read Chinese and English on the screen
# (libtesseract5 itself comes from dpkg-shlibdeps); without them Bremo says which one is
# missing.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "apertium, espeak-ng, gnome-keyring | kwalletmanager, tesseract-ocr-chi-sim, tesseract-ocr-eng")

include(CPack)
