# kobako_program(NAME TITLE t CATEGORY c EN text JA text KEYWORDS "a;b" ABOUT text
#                [PLAYER file...] [SHOT frame])
# Adds the program's folder and registers it for everything the installed collection
# is made of (packaging/CMakeLists.txt): install rules, menu entry, icons, man page,
# metainfo and the launcher's list. SHOT is the frame of its screenshot (default 150).
function(kobako_program name)
  cmake_parse_arguments(PARSE_ARGV 1 P "" "TITLE;CATEGORY;EN;JA;ABOUT;SHOT" "KEYWORDS;PLAYER")
  foreach(field TITLE CATEGORY EN JA ABOUT)
    if(NOT P_${field})
      message(FATAL_ERROR "kobako_program(${name}): ${field} missing")
    endif()
  endforeach()
  if(NOT P_SHOT)
    set(P_SHOT 150)
  endif()
  add_subdirectory(${name})
  set_property(GLOBAL APPEND PROPERTY KOBAKO_PROGRAMS ${name})
  foreach(field TITLE CATEGORY EN JA ABOUT SHOT KEYWORDS PLAYER)
    set_property(GLOBAL PROPERTY KOBAKO_${name}_${field} "${P_${field}}")
  endforeach()
endfunction()
