# A release build comes out the same byte for byte from the same commit:
# no build path and no link time in the programs, and no symbols to strip
# afterwards.
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
                    -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)
add_link_options(-s)
if(MINGW)
  add_link_options(-Wl,--no-insert-timestamp)
endif()

if(NOT WIN32)
  # Debian's hardening for a program that reads bytes from strangers.
  add_compile_options(-D_FORTIFY_SOURCE=2)
  add_link_options(-Wl,-z,relro,-z,now)
endif()
