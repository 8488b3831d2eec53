# Compiler settings shared by every target of the project.

add_library(bvane_warnings INTERFACE)
target_compile_options(bvane_warnings INTERFACE -Wall -Wextra -Wpedantic
  $<$<CXX_COMPILER_ID:GNU>:-Wshadow=local> $<$<CXX_COMPILER_ID:Clang>:-Wshadow>)
if(BVANE_WERROR)
  target_compile_options(bvane_warnings INTERFACE -Werror)
endif()
target_compile_definitions(bvane_warnings INTERFACE
  QT_NO_CAST_FROM_BYTEARRAY
  QT_NO_URL_CAST_FROM_STRING
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)

if(BVANE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Copies a read-only resource (icon, sound, help file) next to the binaries in the build
# tree and installs it under share/brisvane, the two places AppPaths looks.
function(bvane_add_resource)
  foreach(file IN LISTS ARGN)
    get_filename_component(name ${file} NAME)
    configure_file(${file} ${CMAKE_BINARY_DIR}/bin/${name} COPYONLY)
    install(FILES ${file} DESTINATION ${CMAKE_INSTALL_DATADIR}/brisvane COMPONENT brisvane)
  endforeach()
endfunction()
