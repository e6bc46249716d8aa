# The picture libraries, as link targets that work in every configuration. The 32-bit Wine build
# links Debian's i386 packages (winegcc -m32 finds them in /usr/lib/i386-linux-gnu); the 64-bit
# Wine build and the host build link the native ones.
foreach(dep jpeg png16 z tiff openjp2)
  add_library(ruvelto_dep_${dep} INTERFACE)
  target_link_libraries(ruvelto_dep_${dep} INTERFACE ${dep})
endforeach()
target_include_directories(ruvelto_dep_openjp2 SYSTEM INTERFACE /usr/include/openjpeg-2.5)
add_library(ruvelto::jpeg ALIAS ruvelto_dep_jpeg)
add_library(ruvelto::png ALIAS ruvelto_dep_png16)
add_library(ruvelto::zlib ALIAS ruvelto_dep_z)
add_library(ruvelto::tiff ALIAS ruvelto_dep_tiff)
add_library(ruvelto::openjpeg ALIAS ruvelto_dep_openjp2)
