# Asset rules for the programs' CMakeLists.
#
# collection_assets(PROGRAM
#   PIXELART  src.txt=data/out.bmp ...     pixel art to .bmp
#   TEXTS     src.txt=data/out.txt ...     UTF-8 text to code page 932
#   GENERATOR gen.cpp [more.cpp ...]       a program of the asset toolchain's library,
#   OUTPUTS   data/a.bmp data/b.wav ...    run as `gen OUTDIR SRCDIR`, writing these files
#   INPUTS    art/x.txt ...                source files the generator reads (rebuild on change)
# )
# Files land in build/PROGRAM/; the target PROGRAM_assets builds them, and the program
# target depends on it. The global property PROGRAM_ASSET_FILES lists them (relative to
# build/PROGRAM/) for the install rules.
function(collection_assets program)
  cmake_parse_arguments(A "" "" "PIXELART;TEXTS;GENERATOR;OUTPUTS;INPUTS" ${ARGN})
  set(outdir ${CMAKE_BINARY_DIR}/${program})
  set(all)
  file(MAKE_DIRECTORY ${outdir}/data)
  foreach(pair ${A_PIXELART})
    string(REPLACE "=" ";" parts ${pair})
    list(GET parts 0 src)
    list(GET parts 1 out)
    add_custom_command(OUTPUT ${outdir}/${out}
      COMMAND pixelart ${CMAKE_CURRENT_SOURCE_DIR}/${src} ${outdir}/${out}
      DEPENDS pixelart ${CMAKE_CURRENT_SOURCE_DIR}/${src}
      COMMENT "pixel art ${program}/${out}")
    list(APPEND all ${outdir}/${out})
    set_property(GLOBAL APPEND PROPERTY ${program}_ASSET_FILES ${out})
  endforeach()
  foreach(pair ${A_TEXTS})
    string(REPLACE "=" ";" parts ${pair})
    list(GET parts 0 src)
    list(GET parts 1 out)
    add_custom_command(OUTPUT ${outdir}/${out}
      COMMAND cp932text ${CMAKE_CURRENT_SOURCE_DIR}/${src} ${outdir}/${out}
      DEPENDS cp932text ${CMAKE_CURRENT_SOURCE_DIR}/${src}
      COMMENT "text ${program}/${out}")
    list(APPEND all ${outdir}/${out})
    set_property(GLOBAL APPEND PROPERTY ${program}_ASSET_FILES ${out})
  endforeach()
  if(A_GENERATOR)
    add_executable(${program}_assetgen ${A_GENERATOR})
    target_link_libraries(${program}_assetgen PRIVATE assetkit)
    set(outs)
    foreach(o ${A_OUTPUTS})
      list(APPEND outs ${outdir}/${o})
    endforeach()
    set_property(GLOBAL APPEND PROPERTY ${program}_ASSET_FILES ${A_OUTPUTS})
    add_custom_command(OUTPUT ${outs}
      COMMAND ${program}_assetgen ${outdir} ${CMAKE_CURRENT_SOURCE_DIR}
      DEPENDS ${program}_assetgen ${A_INPUTS}
      COMMENT "generating ${program} assets")
    list(APPEND all ${outs})
  endif()
  add_custom_target(${program}_assets ALL DEPENDS ${all})
  if(TARGET ${program})
    add_dependencies(${program} ${program}_assets)
  endif()
endfunction()
