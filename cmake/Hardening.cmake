# Hardening for every build type, as Debian builds its own packages: checked
# string and memory functions, stack protector, read-only relocations bound at
# start, position-independent programs. Qt compiles everything with -fPIC, which
# also serves a PIE link; -fPIE would clash with Qt's reduced relocations.
add_compile_options(-fstack-protector-strong)
# The checked functions need optimisation, so Debug builds optimise for debugging.
string(APPEND CMAKE_C_FLAGS_DEBUG " -Og")
string(APPEND CMAKE_CXX_FLAGS_DEBUG " -Og")
# AddressSanitizer brings its own checked versions of the same functions.
if(NOT TUVO_SANITIZE AND NOT TUVO_FUZZ)
  add_compile_options(-U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2)
endif()
add_link_options(LINKER:-z,relro,-z,now)
add_link_options($<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>:-pie>)
