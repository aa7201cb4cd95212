# The versions of the two deliverables, in one place: the version resources,
# the manifest, the About window's label and the release packages take them
# from here (through the generated versions.h and the packaging script).
set(ZEFTA_VERSION 1.5.0.0)
set(ZEFTA_VERSION_TEXT 1.05)
set(KESTRUM_VERSION 1.0.2.0)
